# The project's Java archives, made so that two builds of one commit give the
# same bytes: javac into a fresh folder, then jar with the classes in name
# order and every entry dated from the commit, never from the clock or from
# the files' times. javac runs on the build host for every build.

find_package(Java 17 REQUIRED COMPONENTS Runtime Development)

set(ZEP_JAVA_FLAGS --release 17 -encoding UTF-8 -Xlint:all -Werror)

# The entries' date: SOURCE_DATE_EPOCH when the caller sets one (CMake's
# TIMESTAMP reads it as "now"), else the time of the checked-out commit, else
# the earliest date a ZIP entry can hold.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  string(TIMESTAMP ZEP_SOURCE_DATE "%Y-%m-%dT%H:%M:%SZ" UTC)
else()
  set(ZEP_SOURCE_DATE 1980-01-01T00:00:02Z)
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%cI
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE _zep_commit_date RESULT_VARIABLE _zep_git_result
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(_zep_git_result EQUAL 0 AND _zep_commit_date)
      set(ZEP_SOURCE_DATE ${_zep_commit_date})
    endif()
  endif()
endif()

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
