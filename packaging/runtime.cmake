# zep_check_runtime(<folder> <system> <what the folder is>)
# Stops with an error unless <folder> holds the JVM library that the launcher
# loads on <system> (Windows or Linux): a package with a runtime the launcher
# cannot load would fall back to whatever Java it finds, silently. Run when a
# runtime is given to the build, and by make_msi.cmake for one made during it.
function(zep_check_runtime folder system what)
  if(system STREQUAL "Windows")
    set(library bin/server/jvm.dll)
  else()
    set(library lib/server/libjvm.so)
  endif()
  if(NOT EXISTS "${folder}/${library}")
    message(FATAL_ERROR "${what} is no Java runtime for ${system}: it holds no ${library}")
  endif()
endfunction()
