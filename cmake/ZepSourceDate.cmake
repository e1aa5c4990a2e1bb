# The date of what is built, for whatever is archived (the Java archives, the
# packages): SOURCE_DATE_EPOCH when the caller sets one (CMake's TIMESTAMP
# reads it as "now"), else the time of the checked-out commit, else the
# earliest date a ZIP entry can hold; never the clock or a file's time.
# ZEP_SOURCE_DATE is that date as ISO 8601, ZEP_SOURCE_EPOCH in seconds since
# 1970. It is read when the build folder is configured.

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  string(TIMESTAMP ZEP_SOURCE_DATE "%Y-%m-%dT%H:%M:%SZ" UTC)
  string(TIMESTAMP ZEP_SOURCE_EPOCH "%s" UTC)
else()
  set(ZEP_SOURCE_DATE 1980-01-01T00:00:02Z)
  set(ZEP_SOURCE_EPOCH 315532802)
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%cI%n%ct
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE _zep_commit_date RESULT_VARIABLE _zep_git_result
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(_zep_git_result EQUAL 0 AND _zep_commit_date MATCHES "^([^\n]+)\n([0-9]+)$")
      set(ZEP_SOURCE_DATE ${CMAKE_MATCH_1})
      set(ZEP_SOURCE_EPOCH ${CMAKE_MATCH_2})
    endif()
  endif()
endif()
