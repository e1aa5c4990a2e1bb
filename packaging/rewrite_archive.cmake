# Run by CPack once it has made the package (CPACK_POST_BUILD_SCRIPTS), before
# it copies the package to its place: writes the archive again, with
# make_archive.py, from the folder CPack staged it from, dated from the
# sources (CPACK_ZEP_SOURCE_EPOCH).

foreach(archive IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name "${archive}" NAME)
  string(REGEX REPLACE "\\.(tar\\.gz|zip)$" "" top "${name}")
  set(staged "${CPACK_TOPLEVEL_DIRECTORY}/${top}")
  if(top STREQUAL name OR NOT IS_DIRECTORY "${staged}")
    message(FATAL_ERROR "rewrite_archive.cmake: ${archive} is no archive staged as ${staged}")
  endif()
  execute_process(
    COMMAND "${CPACK_ZEP_PYTHON}" "${CPACK_ZEP_MAKE_ARCHIVE}" "${staged}" "${archive}" "${CPACK_ZEP_SOURCE_EPOCH}"
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
