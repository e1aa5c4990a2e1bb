# The Windows installer, zep-<version>.msi: packaging/windows/zep.wxs built by
# Debian's wixl (package wixl) and finished with msibuild (package msitools),
# see packaging/windows/make_msi.cmake.
#
#   zep_add_msi(<target> OUTPUT <file.msi> VERSION <version> README <file>
#               [RUNTIME <directory>] [DEPENDS <file or target>...] [ALL])
#
# Packs this build's zep.exe, zepw.exe and zep.jar, the README given, and the
# Java runtime given (installed as runtime\). A runtime that exists when CMake
# runs is watched file by file; one made during the build must be named in
# DEPENDS. What the package installs is staged in
# ${CMAKE_BINARY_DIR}/msi/<target>/files.

find_program(ZEP_WIXL wixl REQUIRED)
find_program(ZEP_MSIBUILD msibuild REQUIRED)
find_program(ZEP_MSIINFO msiinfo REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(ZEP_MSI_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging/windows)

function(zep_add_msi target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "ALL" "OUTPUT;VERSION;README;RUNTIME" "DEPENDS")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_OUTPUT OR NOT arg_VERSION OR NOT arg_README)
    message(FATAL_ERROR "zep_add_msi(${target}): give OUTPUT, VERSION and README")
  endif()
  set(icon ${ZEP_GENERATED_DIR}/resources/zep.ico)
  set(depends zep zepw zep_demo_jar zep_generated_icon ${CMAKE_BINARY_DIR}/zep.jar ${icon} ${arg_README}
    ${ZEP_MSI_SOURCE_DIR}/zep.wxs ${ZEP_MSI_SOURCE_DIR}/make_msi.cmake ${ZEP_MSI_SOURCE_DIR}/file_versions.py
    ${arg_DEPENDS})
  if(arg_RUNTIME AND IS_DIRECTORY "${arg_RUNTIME}")
    file(GLOB_RECURSE runtime_files CONFIGURE_DEPENDS "${arg_RUNTIME}/*")
    list(APPEND depends ${runtime_files})
  endif()
  get_filename_component(name "${arg_OUTPUT}" NAME)
  add_custom_command(
    OUTPUT ${arg_OUTPUT}
    COMMAND ${CMAKE_COMMAND}
      -D WIXL=${ZEP_WIXL} -D MSIBUILD=${ZEP_MSIBUILD} -D MSIINFO=${ZEP_MSIINFO} -D PYTHON=${Python3_EXECUTABLE}
      -D SOURCE=${ZEP_MSI_SOURCE_DIR}/zep.wxs -D OUTPUT=${arg_OUTPUT}
      -D WORK_DIR=${CMAKE_BINARY_DIR}/msi/${target} -D VERSION=${arg_VERSION}
      -D ZEP=$<TARGET_FILE:zep> -D ZEPW=$<TARGET_FILE:zepw> -D JAR=${CMAKE_BINARY_DIR}/zep.jar
      -D README=${arg_README} -D ICON=${icon} -D RUNTIME=${arg_RUNTIME}
      -P ${ZEP_MSI_SOURCE_DIR}/make_msi.cmake
    DEPENDS ${depends}
    COMMENT "Building the installer ${name}"
    VERBATIM)
  set(all "")
  if(arg_ALL)
    set(all ALL)
  endif()
  add_custom_target(${target} ${all} DEPENDS ${arg_OUTPUT})
endfunction()
