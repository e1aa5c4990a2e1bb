# What differs between the Windows and the POSIX build, in one place.

set(ZEP_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(ZEP_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)

if(WIN32)
  set(ZEP_PLATFORM windows)
  add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0A00 WINVER=0x0A00)
  # Static, so that the program needs no MinGW runtime DLL next to it.
  add_link_options(-static)
  if(CMAKE_CROSSCOMPILING)
    set(ZEP_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${ZEP_WINE_PREFIX})
  endif()
else()
  set(ZEP_PLATFORM posix)
endif()

# Lean release binaries: no symbol table, and no code that nothing calls.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections $<$<CONFIG:Release,MinSizeRel>:-s>)

# Release binaries that two builds of one commit make byte for byte alike,
# wherever and whenever they are built: the folders of the sources and of the
# build tree (whose generated sources are compiled too) are cut from every
# name the compiler writes into the program, and on Windows the linker writes
# zero for the PE header's time stamp. Builds with debug information keep the
# full names, so that a debugger finds the sources.
set(_zep_release $<AND:$<CONFIG:Release,MinSizeRel>,$<COMPILE_LANGUAGE:C,CXX>>)
add_compile_options($<${_zep_release}:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>
                    $<${_zep_release}:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)
if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp)
endif()

# A console program whose entry point takes the wide (UTF-16) command line.
function(zep_make_console_program target)
  if(WIN32)
    target_link_options(${target} PRIVATE -municode -mconsole)
  endif()
endfunction()

# The same entry point in a program of the Windows GUI subsystem, which the
# system starts without a console window.
function(zep_make_windowless_program target)
  target_link_options(${target} PRIVATE -municode -Wl,--subsystem,windows)
endfunction()

# Sanitized builds (the native-asan preset): the launcher, the test double and
# the tests alike.
set(ZEP_SANITIZERS "" CACHE STRING "Sanitizers to build with, as for -fsanitize= (empty: none)")
if(ZEP_SANITIZERS)
  add_compile_options(-fsanitize=${ZEP_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${ZEP_SANITIZERS})
endif()

# Fuzzing builds (the native-fuzz preset, clang): the code under test carries
# the fuzzer's coverage instrumentation; only the fuzz targets link its driver.
option(ZEP_FUZZ "Build the libFuzzer targets instead of the tests" OFF)
if(ZEP_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
