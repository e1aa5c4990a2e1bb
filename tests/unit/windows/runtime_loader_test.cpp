// Loading a runtime's jvm.dll over stand-ins for the loader calls: the C
// runtime of its bin first, bin in the search where the system has
// AddDllDirectory, the plain full-path load where it has not, and nothing
// left behind when the load fails.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/windows/runtime_loader.h"

namespace zep::platform {
namespace {

using Calls = std::vector<std::string>;

// The stand-in system, in globals since the calls are plain functions.
Calls calls;
std::set<std::wstring> present;
std::set<std::wstring> loadable;
std::vector<std::wstring> modules;  // handle n + 1 names modules[n]

std::string narrow(std::wstring_view text) { return {text.begin(), text.end()}; }

std::string nameOf(HMODULE module) { return narrow(modules.at(reinterpret_cast<std::uintptr_t>(module) - 1)); }

DWORD WINAPI getFileAttributes(LPCWSTR path) {
    return present.count(path) != 0 ? FILE_ATTRIBUTE_NORMAL : INVALID_FILE_ATTRIBUTES;
}

DWORD WINAPI getFullPathName(LPCWSTR path, DWORD capacity, LPWSTR buffer, LPWSTR*) {
    const std::wstring full = std::wstring(path).find(L':') == 1 ? path : L"C:\\cwd\\" + std::wstring(path);
    if (capacity <= full.size()) return static_cast<DWORD>(full.size() + 1);
    full.copy(buffer, full.size());
    buffer[full.size()] = L'\0';
    return static_cast<DWORD>(full.size());
}

HMODULE load(const std::string& call, LPCWSTR path) {
    calls.push_back(call + " " + narrow(path));
    EXPECT_NE(::GetThreadErrorMode() & SEM_FAILCRITICALERRORS, 0u) << "a damaged library could raise a system box";
    if (loadable.count(path) == 0) {
        ::SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    modules.emplace_back(path);
    return reinterpret_cast<HMODULE>(modules.size());
}

HMODULE WINAPI loadLibrary(LPCWSTR path) { return load("LoadLibraryW", path); }

HMODULE WINAPI loadLibraryEx(LPCWSTR path, HANDLE, DWORD flags) {
    EXPECT_EQ(flags, DWORD{LOAD_LIBRARY_SEARCH_DEFAULT_DIRS | LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR});
    return load("LoadLibraryExW", path);
}

BOOL WINAPI freeLibrary(HMODULE module) {
    calls.push_back("FreeLibrary " + nameOf(module));
    return TRUE;
}

DLL_DIRECTORY_COOKIE WINAPI addDllDirectory(PCWSTR directory) {
    calls.push_back("AddDllDirectory " + narrow(directory));
    return reinterpret_cast<DLL_DIRECTORY_COOKIE>(0x5eed);
}

BOOL WINAPI removeDllDirectory(DLL_DIRECTORY_COOKIE cookie) {
    EXPECT_EQ(cookie, reinterpret_cast<DLL_DIRECTORY_COOKIE>(0x5eed));
    calls.push_back("RemoveDllDirectory");
    return TRUE;
}

constexpr LoaderCalls kWithDllDirectories{&getFileAttributes, &getFullPathName, &loadLibrary,       &loadLibraryEx,
                                          &freeLibrary,       &addDllDirectory, &removeDllDirectory};
constexpr LoaderCalls kWithout{&getFileAttributes, &getFullPathName, &loadLibrary, &loadLibraryEx,
                               &freeLibrary,       nullptr,          nullptr};

class RuntimeLoader : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        present.clear();
        loadable.clear();
        modules.clear();
    }
    // A file in the bin directory that loads.
    static void ship(const std::wstring& file) {
        present.insert(file);
        loadable.insert(file);
    }
    // What `loaded` frees when it goes: the JVM library first, then the rest, last loaded first.
    static Calls releasedBy(RuntimeLibrary loaded) {
        const std::size_t before = calls.size();
        { const RuntimeLibrary gone = std::move(loaded); }
        return Calls(calls.begin() + static_cast<std::ptrdiff_t>(before), calls.end());
    }
};

TEST_F(RuntimeLoader, BinJoinsTheSearchWhileItsCRuntimeAndThenTheLibraryLoad) {
    ship(L"C:\\jdk\\bin\\msvcp140.dll");
    ship(L"C:\\jdk\\bin\\msvcr100.dll");
    ship(L"C:\\jdk\\bin\\vcruntime140.dll");
    ship(L"C:\\jdk\\bin\\server\\jvm.dll");
    RuntimeLibrary loaded = loadRuntimeLibrary(u"C:\\jdk\\bin\\server\\jvm.dll", kWithDllDirectories);
    EXPECT_EQ(calls,
              (Calls{"AddDllDirectory C:\\jdk\\bin", "LoadLibraryExW C:\\jdk\\bin\\msvcr100.dll",
                     "LoadLibraryExW C:\\jdk\\bin\\vcruntime140.dll", "LoadLibraryExW C:\\jdk\\bin\\msvcp140.dll",
                     "LoadLibraryExW C:\\jdk\\bin\\server\\jvm.dll", "RemoveDllDirectory"}));
    EXPECT_EQ(releasedBy(std::move(loaded)),
              (Calls{"FreeLibrary C:\\jdk\\bin\\server\\jvm.dll", "FreeLibrary C:\\jdk\\bin\\msvcp140.dll",
                     "FreeLibrary C:\\jdk\\bin\\vcruntime140.dll", "FreeLibrary C:\\jdk\\bin\\msvcr100.dll"}))
        << "all stay loaded for the caller until it lets them go";
}

TEST_F(RuntimeLoader, WithoutDllDirectoriesEachIsLoadedByItsFullPathAlone) {
    ship(L"C:\\cwd\\jdk\\bin\\msvcr120.dll");
    ship(L"C:\\cwd\\jdk\\bin\\server\\jvm.dll");
    RuntimeLibrary loaded = loadRuntimeLibrary(u"jdk\\bin\\server\\jvm.dll", kWithout);
    EXPECT_EQ(calls, (Calls{"LoadLibraryW C:\\cwd\\jdk\\bin\\msvcr120.dll",
                            "LoadLibraryW C:\\cwd\\jdk\\bin\\server\\jvm.dll"}))
        << "a relative path is made absolute once, never searched for";
    EXPECT_EQ(releasedBy(std::move(loaded)).size(), 2u);
}

TEST_F(RuntimeLoader, LibraryThatDoesNotLoadLeavesNothingBehind) {
    ship(L"C:\\jre\\bin\\msvcr100.dll");
    ship(L"C:\\jre\\bin\\msvcp120.dll");
    present.insert(L"C:\\jre\\bin\\msvcr120.dll");  // there, but does not load
    present.insert(L"C:\\jre\\bin\\server\\jvm.dll");
    for (const LoaderCalls* system : {&kWithDllDirectories, &kWithout}) {
        calls.clear();
        RuntimeLibrary loaded = loadRuntimeLibrary(u"C:\\jre\\bin\\server\\jvm.dll", *system);
        EXPECT_FALSE(loaded);
        EXPECT_EQ(loaded.failure(), describeLoadFailure(ERROR_MOD_NOT_FOUND, u"C:\\jre\\bin\\server\\jvm.dll"));
        Calls after{"FreeLibrary C:\\jre\\bin\\msvcp120.dll", "FreeLibrary C:\\jre\\bin\\msvcr100.dll"};
        if (system == &kWithDllDirectories) after.push_back("RemoveDllDirectory");
        ASSERT_GE(calls.size(), after.size());
        EXPECT_EQ(Calls(calls.end() - static_cast<std::ptrdiff_t>(after.size()), calls.end()), after)
            << "what was loaded goes, last first, and bin leaves the search";
        EXPECT_TRUE(releasedBy(std::move(loaded)).empty()) << "nothing is left to release";
    }
}

}  // namespace
}  // namespace zep::platform
