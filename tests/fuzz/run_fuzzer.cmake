# Replays the regression inputs, then fuzzes for SECONDS from a fresh copy of
# the seed corpus (with the tokens of DICTIONARY, when not empty). Fails on the
# first input that breaks the target.

file(REMOVE_RECURSE "${CORPUS}")
file(MAKE_DIRECTORY "${CORPUS}")
file(GLOB seeds "${SEEDS}/*")
if(seeds)
  file(COPY ${seeds} DESTINATION "${CORPUS}")
endif()

file(GLOB regressions "${REGRESSIONS}/*")
if(regressions)
  execute_process(COMMAND "${FUZZER}" ${regressions} RESULT_VARIABLE replayed)
  if(NOT replayed EQUAL 0)
    message(FATAL_ERROR "a kept regression input fails again")
  endif()
endif()

get_filename_component(artifacts "${CORPUS}" DIRECTORY)
set(tokens "")
if(DICTIONARY)
  set(tokens "-dict=${DICTIONARY}")
endif()
execute_process(
  COMMAND "${FUZZER}" "${CORPUS}" -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048
          -max_len=4096 -print_final_stats=1 "-artifact_prefix=${artifacts}/" ${tokens}
  RESULT_VARIABLE fuzzed)
if(NOT fuzzed EQUAL 0)
  message(FATAL_ERROR "the fuzzer found an input that breaks the target; see the crash file in ${artifacts}")
endif()
