# Authenticode signatures on the Windows programs and installer, made by
# osslsigncode (see cmake/sign_file.cmake) when the build is given a
# certificate:
#
#   ZEP_SIGNING_CERT       a PKCS#12 file with the key and certificates to sign with
#   ZEP_SIGNING_TIMESTAMP  an RFC 3161 timestamp server to ask (optional)
#
# Its password is read from the environment variable ZEP_SIGNING_PASSWORD when
# the build signs, so that no file of the build folder keeps it. Without a
# timestamp server the signing time is the source date, and two builds of one
# commit sign alike. Without a certificate nothing is signed, and nothing of
# the build changes.
#
# ${CMAKE_COMMAND} -D FILE=<file> ${ZEP_SIGN_ARGS} signs <file> in place;
# ZEP_SIGN_ARGS is empty when nothing is signed.

set(ZEP_SIGNING_CERT "" CACHE FILEPATH "A PKCS#12 file to sign the Windows programs and installer with (empty: unsigned)")
set(ZEP_SIGNING_TIMESTAMP "" CACHE STRING "An RFC 3161 timestamp server for the signatures (empty: the source date)")
set(ZEP_SIGN_ARGS "")
if(ZEP_SIGNING_CERT)
  if(NOT WIN32)
    message(FATAL_ERROR "ZEP_SIGNING_CERT: only the Windows build signs what it makes")
  endif()
  if(NOT EXISTS "${ZEP_SIGNING_CERT}" OR IS_DIRECTORY "${ZEP_SIGNING_CERT}")
    message(FATAL_ERROR "ZEP_SIGNING_CERT: no file ${ZEP_SIGNING_CERT}")
  endif()
  find_program(ZEP_OSSLSIGNCODE osslsigncode)
  if(NOT ZEP_OSSLSIGNCODE)
    message(FATAL_ERROR "ZEP_SIGNING_CERT: signing needs osslsigncode (the Debian package osslsigncode)")
  endif()
  set(ZEP_SIGN_ARGS -D OSSLSIGNCODE=${ZEP_OSSLSIGNCODE} -D CERT=${ZEP_SIGNING_CERT}
    -D TIMESTAMP=${ZEP_SIGNING_TIMESTAMP} -D TIME=${ZEP_SOURCE_EPOCH} -P ${CMAKE_CURRENT_LIST_DIR}/sign_file.cmake)
  message(STATUS "Signing the Windows programs and installer with ${ZEP_SIGNING_CERT}")
endif()

# Signs the program of <target> where the linker wrote it, right after it: the
# tests, the archive and the installer all take those signed bytes. A new
# certificate links (and signs) it again.
function(zep_sign_program target)
  if(ZEP_SIGN_ARGS)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -D FILE=$<TARGET_FILE:${target}> ${ZEP_SIGN_ARGS}
      VERBATIM)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
      ${ZEP_SIGNING_CERT} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/sign_file.cmake)
  endif()
endfunction()
