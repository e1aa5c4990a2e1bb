# Java homes for tests: directories shaped like an installed Java runtime, with
# a JVM library of the test's choosing, assembled at build time under
# build/<preset>/tests/homes/<name>/.
#
#   zep_add_test_home(<name> LIBRARY <target> | FILE <path> [IN_JRE] [NO_JAVA]
#                     [BESIDE_JAVA <target>...])
#
# LIBRARY copies a library target's file, FILE any file (a text file stands for
# a library that is there but does not load). IN_JRE puts the whole layout
# under <name>/jre/ instead; NO_JAVA leaves the java program out; BESIDE_JAVA
# puts library targets' files next to the java program, as runtimes ship their
# C runtime libraries in bin. Everything is
# copied, never linked, so that Wine sees it. The target zep_test_homes builds
# every home, and is part of the default build.
#
# Where things lie inside a home (relative paths, for tests that need them):
# ZEP_TEST_HOME_JAVA, ZEP_TEST_HOME_LIBRARY; the homes are in ZEP_TEST_HOMES_DIR.

if(WIN32)
  set(ZEP_TEST_HOME_JAVA bin/java.exe)
  set(ZEP_TEST_HOME_LIBRARY bin/server/jvm.dll)
else()
  set(ZEP_TEST_HOME_JAVA bin/java)
  set(ZEP_TEST_HOME_LIBRARY lib/server/libjvm.so)
endif()
set(ZEP_TEST_HOMES_DIR ${CMAKE_BINARY_DIR}/tests/homes)

add_custom_target(zep_test_homes ALL)

function(zep_add_test_home name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "IN_JRE;NO_JAVA" "LIBRARY;FILE" "BESIDE_JAVA")
  if(arg_UNPARSED_ARGUMENTS OR (arg_LIBRARY AND arg_FILE) OR (NOT arg_LIBRARY AND NOT arg_FILE))
    message(FATAL_ERROR "zep_add_test_home(${name}): give either LIBRARY <target> or FILE <path>")
  endif()
  if(arg_LIBRARY)
    set(source $<TARGET_FILE:${arg_LIBRARY}>)
    set(depends ${arg_LIBRARY})
  else()
    get_filename_component(source "${arg_FILE}" ABSOLUTE)
    set(depends ${source})
  endif()
  set(layout "")
  if(arg_IN_JRE)
    set(layout jre/)
  endif()
  set(java "")
  if(NOT arg_NO_JAVA)
    set(java ${layout}${ZEP_TEST_HOME_JAVA})
  endif()

  set(beside "")
  if(arg_BESIDE_JAVA)
    set(files "")
    foreach(target ${arg_BESIDE_JAVA})
      list(APPEND files $<TARGET_FILE:${target}>)
    endforeach()
    string(REPLACE ";" "|" files "${files}")
    set(beside "-DBESIDE_JAVA=${files}" -DBIN=${layout}bin)
    list(APPEND depends ${arg_BESIDE_JAVA})
  endif()

  set(stamp ${CMAKE_BINARY_DIR}/tests/home_stamps/${name}.stamp)
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/make_test_home.cmake)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DHOME=${ZEP_TEST_HOMES_DIR}/${name} -DSOURCE=${source}
            -DLIBRARY=${layout}${ZEP_TEST_HOME_LIBRARY} -DJAVA=${java} ${beside} -P ${script}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${depends} ${script}
    COMMENT "Assembling the test Java home ${name}"
    VERBATIM)
  add_custom_target(zep_test_home_${name} DEPENDS ${stamp})
  add_dependencies(zep_test_homes zep_test_home_${name})
endfunction()
