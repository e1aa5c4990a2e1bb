# The Windows installer, zep-<version>.msi: packaging/windows/zep.wxs built by
# Debian's wixl (package wixl) and finished with msibuild (package msitools),
# see packaging/windows/make_msi.cmake. Included by packaging/windows once it
# has found those tools as ZEP_WIXL, ZEP_MSIBUILD and ZEP_MSIINFO.
#
#   zep_add_msi(<target> OUTPUT <file.msi> VERSION <version> README <file>
#               [RUNTIME <directory>] [DEPENDS <file or target>...] [ALL])
#
# Packs this build's package programs and files (the global properties
# ZEP_PACKAGE_PROGRAMS and ZEP_PACKAGE_FILES, set by packaging/, which installs
# the same), the README given, and the Java runtime given (installed as
# runtime\). A runtime that exists when CMake runs is watched file by file;
# one made during the build must be named in DEPENDS. What the package
# installs is staged in ${CMAKE_BINARY_DIR}/msi/<target>/files. A build that
# signs (cmake/ZepSigning.cmake) signs the package too, once it is finished.

find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(zep_add_msi target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "ALL" "OUTPUT;VERSION;README;RUNTIME" "DEPENDS")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_OUTPUT OR NOT arg_VERSION OR NOT arg_README)
    message(FATAL_ERROR "zep_add_msi(${target}): give OUTPUT, VERSION and README")
  endif()
  set(source_dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../packaging)
  set(icon ${ZEP_GENERATED_DIR}/resources/zep.ico)
  get_property(programs GLOBAL PROPERTY ZEP_PACKAGE_PROGRAMS)
  get_property(files GLOBAL PROPERTY ZEP_PACKAGE_FILES)
  set(payload "")
  foreach(program IN LISTS programs)
    list(APPEND payload $<TARGET_FILE:${program}>)
  endforeach()
  list(APPEND payload ${files} ${arg_README})
  # One argument for make_msi.cmake, whatever the command line makes of a ";".
  list(JOIN payload "|" payload)
  set(depends ${programs} zep_demo_jar zep_generated_icon ${files} ${icon} ${arg_README}
    ${source_dir}/windows/zep.wxs ${source_dir}/windows/make_msi.cmake ${source_dir}/windows/file_versions.py
    ${source_dir}/runtime.cmake ${arg_DEPENDS})
  if(arg_RUNTIME AND IS_DIRECTORY "${arg_RUNTIME}")
    file(GLOB_RECURSE runtime_files CONFIGURE_DEPENDS "${arg_RUNTIME}/*")
    list(APPEND depends ${runtime_files})
  endif()
  set(sign "")
  if(ZEP_SIGN_ARGS)
    set(sign COMMAND ${CMAKE_COMMAND} -D FILE=${arg_OUTPUT} ${ZEP_SIGN_ARGS})
    list(APPEND depends ${ZEP_SIGNING_CERT} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/sign_file.cmake)
  endif()
  get_filename_component(name "${arg_OUTPUT}" NAME)
  add_custom_command(
    OUTPUT ${arg_OUTPUT}
    COMMAND ${CMAKE_COMMAND}
      -D WIXL=${ZEP_WIXL} -D MSIBUILD=${ZEP_MSIBUILD} -D MSIINFO=${ZEP_MSIINFO} -D PYTHON=${Python3_EXECUTABLE}
      -D SOURCE=${source_dir}/windows/zep.wxs -D OUTPUT=${arg_OUTPUT}
      -D WORK_DIR=${CMAKE_BINARY_DIR}/msi/${target} -D VERSION=${arg_VERSION}
      -D FILES=${payload} -D ICON=${icon} -D RUNTIME=${arg_RUNTIME}
      -P ${source_dir}/windows/make_msi.cmake
    ${sign}
    DEPENDS ${depends}
    COMMENT "Building the installer ${name}"
    VERBATIM)
  set(all "")
  if(arg_ALL)
    set(all ALL)
  endif()
  add_custom_target(${target} ${all} DEPENDS ${arg_OUTPUT})
endfunction()
