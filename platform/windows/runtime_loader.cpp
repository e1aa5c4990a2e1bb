#include "platform/windows/runtime_loader.h"

#include <optional>

namespace zep::platform {
namespace {

// The absolute form of `path`, sized by asking; empty when the system cannot
// make one (the last error then says why).
std::wstring fullPath(const std::wstring& path, const LoaderCalls& calls) {
    std::wstring full;
    DWORD capacity = 0;
    for (;;) {
        const DWORD length =
            calls.getFullPathName(path.c_str(), capacity, full.empty() ? nullptr : full.data(), nullptr);
        if (length == 0) return {};
        if (length < capacity) {
            full.resize(length);
            return full;
        }
        capacity = length;  // too small: the size needed, terminator included
        full.assign(capacity, L'\0');
    }
}

std::wstring parentOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

// Frees what was loaded unless the load as a whole succeeded.
class LoadedSoFar {
public:
    explicit LoadedSoFar(const LoaderCalls& calls) : calls_(calls) {}
    LoadedSoFar(const LoadedSoFar&) = delete;
    LoadedSoFar& operator=(const LoadedSoFar&) = delete;
    ~LoadedSoFar() {
        for (auto module = modules.companions.rbegin(); module != modules.companions.rend(); ++module) {
            calls_.freeLibrary(*module);
        }
    }
    RuntimeModules release(HMODULE library) {
        RuntimeModules done = std::move(modules);
        modules.companions.clear();
        done.library = library;
        return done;
    }

    RuntimeModules modules;

private:
    const LoaderCalls& calls_;
};

// Adds a directory to the loader's search for as long as it lives.
class AddedDllDirectory {
public:
    AddedDllDirectory(const std::wstring& directory, const LoaderCalls& calls)
        : calls_(calls), cookie_(calls.addDllDirectory(directory.c_str())) {}
    AddedDllDirectory(const AddedDllDirectory&) = delete;
    AddedDllDirectory& operator=(const AddedDllDirectory&) = delete;
    ~AddedDllDirectory() {
        if (cookie_ != nullptr) calls_.removeDllDirectory(cookie_);
    }

private:
    const LoaderCalls& calls_;
    DLL_DIRECTORY_COOKIE cookie_;
};

// An export of `module` as the function type it has; null when it is missing.
// void (*)() is the generic function pointer type a procedure address passes through.
template <typename Function>
Function procedure(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace

RuntimeModules loadRuntimeModules(const std::u16string& path, const LoaderCalls& calls) {
    RuntimeModules failed;
    const std::wstring library = fullPath(std::wstring(path.begin(), path.end()), calls);
    if (library.empty()) {
        failed.error = ::GetLastError();
        return failed;
    }
    const std::wstring bin = parentOf(parentOf(library));
    const bool searchWithBin = calls.addDllDirectory != nullptr && calls.removeDllDirectory != nullptr;
    auto load = [&](const std::wstring& file) {
        return searchWithBin ? calls.loadLibraryEx(file.c_str(), nullptr, kRuntimeSearchFlags)
                             : calls.loadLibrary(file.c_str());
    };

    LoadedSoFar loaded(calls);
    std::optional<AddedDllDirectory> added;
    if (searchWithBin && !bin.empty()) added.emplace(bin, calls);
    if (!bin.empty()) {
        for (const wchar_t* name : kRuntimeCompanions) {
            const std::wstring companion = bin + L'\\' + name;
            if (calls.getFileAttributes(companion.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
            // One that does not load is left to the JVM library's own load to report.
            if (HMODULE module = load(companion)) loaded.modules.companions.push_back(module);
        }
    }
    HMODULE module = load(library);
    if (module == nullptr) {
        failed.error = ::GetLastError();
        return failed;
    }
    return loaded.release(module);
}

const LoaderCalls& systemLoaderCalls() {
    static const LoaderCalls calls = [] {
        LoaderCalls system{&::GetFileAttributesW,
                           &::GetFullPathNameW,
                           &::LoadLibraryW,
                           &::LoadLibraryExW,
                           &::FreeLibrary,
                           nullptr,
                           nullptr};
        if (HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll")) {
            system.addDllDirectory = procedure<decltype(system.addDllDirectory)>(kernel, "AddDllDirectory");
            system.removeDllDirectory = procedure<decltype(system.removeDllDirectory)>(kernel, "RemoveDllDirectory");
        }
        return system;
    }();
    return calls;
}

}  // namespace zep::platform
