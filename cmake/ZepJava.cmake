# The project's Java archives, made so that two builds of one commit give the
# same bytes: javac into a fresh folder, then jar with the classes in name
# order and every entry dated from the commit, never from the clock or from
# the files' times. javac runs on the build host for every build.

find_package(Java 17 REQUIRED COMPONENTS Runtime Development)

set(ZEP_JAVA_FLAGS --release 17 -encoding UTF-8 -Xlint:all -Werror)

# The entries' date is ZEP_SOURCE_DATE (cmake/ZepSourceDate.cmake).

# zep_add_jar(<target> OUTPUT <archive> [ENTRY_POINT <class>] SOURCES <source>...)
# Compiles the sources (relative to the current source folder) with
# ZEP_JAVA_FLAGS and archives their classes as <archive>, built by <target>.
function(zep_add_jar target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "OUTPUT;ENTRY_POINT" "SOURCES")
  set(classes ${CMAKE_CURRENT_BINARY_DIR}/${target}.classes)
  list(TRANSFORM arg_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  add_custom_command(
    OUTPUT ${arg_OUTPUT}
    # A fresh folder: no class of a source since removed is archived.
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${classes}
    COMMAND ${Java_JAVAC_EXECUTABLE} ${ZEP_JAVA_FLAGS} -d ${classes} ${arg_SOURCES}
    COMMAND ${CMAKE_COMMAND} -DJAR=${Java_JAR_EXECUTABLE} -DCLASSES=${classes} -DOUTPUT=${arg_OUTPUT}
            -DDATE=${ZEP_SOURCE_DATE} -DENTRY_POINT=${arg_ENTRY_POINT}
            -P ${CMAKE_SOURCE_DIR}/cmake/archive_classes.cmake
    DEPENDS ${arg_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/archive_classes.cmake
    COMMENT "Building the Java archive ${arg_OUTPUT}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${arg_OUTPUT})
endfunction()
