# Which headers a library shows to the rest of the build. Sources name a
# header by its path from the source root ("platform/library.h"), yet no
# library has the source root on its include path: a header that a library
# keeps to itself is not found when another folder includes it, and the build
# fails there, as gn check's `public` list has it. Above all platform/windows/
# and platform/posix/ are the platform library's own: no other library can
# include them.
#
# Each library gets two include roots in the build tree, of forwarding
# headers, each one #include of the real file (so that the compiler's
# messages and the tools name the real file):
#   include/<target>/own      every header of the library's folder, its
#                             subfolders' too: for the library's own sources;
#   include/<target>/public   the headers it lists: for what links to it, as
#                             the usage requirements pass them on.
# Whoever else must see inside a library links an interface target on
# include/<target>/own: zep_platform_internals, for the entry points. Tests,
# which look inside every library, have the source root itself.

set(ZEP_INCLUDE_DIR ${CMAKE_BINARY_DIR}/include)

# Writes `content` to `path` unless it already holds it, so that a configure
# run leaves what depends on an unchanged forwarder alone.
function(_zep_write_if_changed path content)
  if(EXISTS ${path})
    file(READ ${path} _old)
    if(_old STREQUAL content)
      return()
    endif()
  endif()
  file(WRITE ${path} "${content}")
endfunction()

# Makes `root` hold a forwarder for each of `headers` (paths in the folder
# `folder` of the source tree) under <root>/<folder>/, and nothing else.
function(_zep_forwarders target root folder headers)
  set(_wanted "")
  foreach(_header IN LISTS headers)
    if(NOT EXISTS ${CMAKE_SOURCE_DIR}/${folder}/${_header})
      message(FATAL_ERROR "${target}: no header ${folder}/${_header}")
    endif()
    set(_forwarder ${root}/${folder}/${_header})
    list(APPEND _wanted ${_forwarder})
    _zep_write_if_changed(${_forwarder}
      "// Made by cmake/ZepHeaders.cmake: ${folder}/${_header} as ${target} shows it.\n#pragma once\n#include \"${CMAKE_SOURCE_DIR}/${folder}/${_header}\"  // IWYU pragma: export\n")
  endforeach()
  # A header no longer listed (or no longer there) must not stay reachable.
  file(GLOB_RECURSE _present LIST_DIRECTORIES false ${root}/*)
  foreach(_file IN LISTS _present)
    if(NOT _file IN_LIST _wanted)
      file(REMOVE ${_file})
    endif()
  endforeach()
endfunction()

# zep_library_headers(<target> PUBLIC <header>...)
# The headers of <target>, a library whose folder is the current source
# directory: all of them for its own sources, the PUBLIC ones (names in that
# folder) for what links to it.
function(zep_library_headers target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "PUBLIC")
  file(RELATIVE_PATH _folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  # A header added to the folder is seen at the next build.
  file(GLOB_RECURSE _own CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(_root ${ZEP_INCLUDE_DIR}/${target})
  _zep_forwarders(${target} ${_root}/own ${_folder} "${_own}")
  _zep_forwarders(${target} ${_root}/public ${_folder} "${arg_PUBLIC}")
  target_include_directories(${target} PRIVATE ${_root}/own PUBLIC ${_root}/public)
endfunction()
