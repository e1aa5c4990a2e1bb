#pragma once
// How a Java runtime's jvm.dll is loaded on Windows, over the loader calls it
// makes, so that a test can stand in for a system that lacks some of them.

#include <string>

#include "platform/library.h"
#include "platform/windows/win32.h"

namespace zep::platform {

struct LoaderCalls {
    decltype(&::GetFileAttributesW) getFileAttributes;
    decltype(&::GetFullPathNameW) getFullPathName;
    decltype(&::LoadLibraryW) loadLibrary;
    decltype(&::LoadLibraryExW) loadLibraryEx;
    // Releases every module loaded through these calls.
    decltype(&::FreeLibrary) freeLibrary;
    // Null where the system lacks them (Windows 7 without its loader update):
    // they are looked up at run time, since a static import of either would
    // keep the launcher from starting there at all.
    DLL_DIRECTORY_COOKIE(WINAPI* addDllDirectory)(PCWSTR);
    BOOL(WINAPI* removeDllDirectory)(DLL_DIRECTORY_COOKIE);
};

// The system's own calls.
LoaderCalls systemLoaderCalls();

// The absolute form of `path` (GetFullPathNameW), sized by asking; empty when
// the system cannot make one (the last error then says why).
std::wstring fullPath(const std::u16string& path, const LoaderCalls& calls);

// The C runtime libraries that runtimes ship in their bin directory, oldest
// first, each after the ones it imports: msvcr100.dll (1.7 and 1.8),
// msvcr120.dll and msvcp120.dll, then those of 11 and later.
inline constexpr const wchar_t* kRuntimeCompanions[] = {
    L"msvcr100.dll", L"msvcr120.dll", L"msvcp120.dll", L"vcruntime140.dll", L"vcruntime140_1.dll", L"msvcp140.dll",
};

// Where the JVM library's imports are looked for when AddDllDirectory exists:
// the directories added to the search (bin), the library's own directory and
// the system's, but neither the current directory nor Path.
inline constexpr DWORD kRuntimeSearchFlags = LOAD_LIBRARY_SEARCH_DEFAULT_DIRS | LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR;

// Loads the runtime's library at `path` over `calls`, as RuntimeLibrary::load
// does over the system's: makes `path` absolute (the file loaded is the file
// that was probed, whatever the loader's own search would find), loads the
// companions present in the bin directory above the library's own by their
// full paths, then the library, with the system's error boxes held off. Where
// the system refuses the path to AddDllDirectory or LoadLibraryExW as an
// invalid parameter (Wine does for "\\server\share\..."), each file is loaded
// as where those calls are missing. Every module is released through
// calls.freeLibrary; when the library does not load, those loaded for it are
// released, last first, before bin leaves the search, and the failure is
// described by describeLoadFailure with the failed call's last-error code.
RuntimeLibrary loadRuntimeLibrary(const std::u16string& path, const LoaderCalls& calls);

// Why the library at `path` did not load, given the load's error code, in
// words a person can act on: a 32-bit DLL, a library it imports that is
// missing, or the system's own text.
std::string describeLoadFailure(DWORD error, const std::u16string& path);

}  // namespace zep::platform
