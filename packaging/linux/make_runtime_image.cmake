# Makes the Java runtime that the Linux package carries as runtime/: a jlink
# image of the JDK's modules that the application uses (as jdeps reads them
# from its archive), without debug information, header files, manual pages or
# the JDK's commands, and with a class-data-sharing archive, without which the
# machine starts about twice as slowly. MODULES_FILE, written last, names the
# modules and stands for the whole image in the build's dependencies.
#
#   cmake -DJDK=<home> -DJMODS=<the JDK's jmods> -DJAR=<archive> -DOUTPUT=<folder> -DMODULES_FILE=<file> -P make_runtime_image.cmake

execute_process(
  COMMAND ${JDK}/bin/jdeps --print-module-deps ${JAR}
  OUTPUT_VARIABLE _modules OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)

file(REMOVE_RECURSE ${OUTPUT} ${MODULES_FILE})
# jlink makes the sharing archive by running the image's own bin/java, which
# --strip-native-commands leaves out (jlink then fails), so the commands are
# taken out after it: the same image. What jlink writes is kept for a failure
# alone: otherwise it is the archive's warnings about classes of the modules
# left out.
execute_process(
  COMMAND ${JDK}/bin/jlink --module-path ${JMODS} --add-modules ${_modules}
          --strip-debug --no-header-files --no-man-pages --generate-cds-archive --output ${OUTPUT}
  OUTPUT_VARIABLE _log ERROR_VARIABLE _log RESULT_VARIABLE _result)
if(NOT _result EQUAL 0 OR NOT EXISTS ${OUTPUT}/lib/server/classes.jsa)
  message(FATAL_ERROR "jlink made no runtime with a class-data-sharing archive (${_result}):\n${_log}")
endif()
file(REMOVE_RECURSE ${OUTPUT}/bin)
file(WRITE ${MODULES_FILE} "${_modules}\n")
