# Assembles one test Java home afresh, so that nothing of an earlier layout
# survives (run by zep_add_test_home at build time):
#
#   cmake -DHOME=<dir> -DSOURCE=<file> -DLIBRARY=<relative path> [-DJAVA=<relative path>]
#         [-DBESIDE_JAVA=<file>|<file>... -DBIN=<relative directory>] -P make_test_home.cmake

if(NOT HOME OR NOT SOURCE OR NOT LIBRARY)
  message(FATAL_ERROR "make_test_home.cmake needs HOME, SOURCE and LIBRARY")
endif()

file(REMOVE_RECURSE "${HOME}")
get_filename_component(library_dir "${HOME}/${LIBRARY}" DIRECTORY)
file(MAKE_DIRECTORY "${library_dir}")
file(COPY_FILE "${SOURCE}" "${HOME}/${LIBRARY}")
if(JAVA)
  # Only its presence counts; on Linux it must also look runnable.
  file(WRITE "${HOME}/${JAVA}" "")
  file(CHMOD "${HOME}/${JAVA}" FILE_PERMISSIONS
       OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
if(BESIDE_JAVA)
  file(MAKE_DIRECTORY "${HOME}/${BIN}")
  string(REPLACE "|" ";" beside_files "${BESIDE_JAVA}")
  foreach(file ${beside_files})
    get_filename_component(beside_name "${file}" NAME)
    file(COPY_FILE "${file}" "${HOME}/${BIN}/${beside_name}")
  endforeach()
endif()
