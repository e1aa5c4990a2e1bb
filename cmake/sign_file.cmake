# Signs FILE in place with an Authenticode signature (SHA-256) made by
# osslsigncode from the key and certificates of the PKCS#12 file CERT, whose
# password is read from the environment variable ZEP_SIGNING_PASSWORD:
#
#   cmake -D OSSLSIGNCODE=<osslsigncode> -D CERT=<file.p12> -D FILE=<file>
#         ( -D TIMESTAMP=<url> | -D TIME=<seconds since 1970> ) -P sign_file.cmake
#
# TIMESTAMP is an RFC 3161 timestamp server; without one the signature carries
# TIME as its signing time, and the same file signed twice is the same bytes.
#
# A file that cannot be signed is removed: no unsigned file is left under the
# name of a signed one, nor one that the next build would take as made.

foreach(variable OSSLSIGNCODE CERT FILE)
  if("${${variable}}" STREQUAL "")
    message(FATAL_ERROR "sign_file.cmake: ${variable} is not given")
  endif()
endforeach()
if("${TIMESTAMP}" STREQUAL "" AND NOT TIME MATCHES "^[0-9]+$")
  message(FATAL_ERROR "sign_file.cmake: give TIMESTAMP or TIME (seconds since 1970)")
endif()

set(signed "${FILE}.signing")
file(REMOVE "${signed}")

function(fail message)
  file(REMOVE "${FILE}" "${signed}")
  message(FATAL_ERROR "${message}\n${FILE} is removed: it is not signed.")
endfunction()

if(NOT DEFINED ENV{ZEP_SIGNING_PASSWORD})
  fail("Cannot sign ${FILE}: set ZEP_SIGNING_PASSWORD to the password of ${CERT}.")
endif()

if("${TIMESTAMP}" STREQUAL "")
  set(time_options -time "${TIME}")
else()
  set(time_options -ts "${TIMESTAMP}")
endif()

# The password goes through a pipe, never on a command line, where any user of
# the machine could read it. The shell's own printf writes it.
if("$ENV{ZEP_SIGNING_PASSWORD}" STREQUAL "")
  execute_process(
    COMMAND "${OSSLSIGNCODE}" sign -pkcs12 "${CERT}" -pass "" -h sha256 ${time_options}
            -in "${FILE}" -out "${signed}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
else()
  execute_process(
    COMMAND sh -c "printf '%s' \"$ZEP_SIGNING_PASSWORD\""
    COMMAND "${OSSLSIGNCODE}" sign -pkcs12 "${CERT}" -readpass /dev/stdin -h sha256 ${time_options}
            -in "${FILE}" -out "${signed}"
    RESULTS_VARIABLE results OUTPUT_VARIABLE output ERROR_VARIABLE output)
  list(GET results 1 result)
endif()
string(STRIP "${output}" output)
if(NOT result EQUAL 0 OR NOT EXISTS "${signed}")
  string(CONCAT why "Cannot sign ${FILE} with ${CERT} (osslsigncode: ${result}): a wrong "
    "ZEP_SIGNING_PASSWORD, or a file that is no PKCS#12 key and certificate?\n${output}")
  fail("${why}")
endif()

# The signed file keeps the mode of the one it replaces (osslsigncode makes its
# output with the default mode), and takes its place in one step.
execute_process(COMMAND chmod --reference=${FILE} ${signed} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  fail("Cannot give ${signed} the mode of ${FILE}")
endif()
file(RENAME "${signed}" "${FILE}")
