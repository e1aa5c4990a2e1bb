#include "platform/windows/runtime_loader.h"

#include "platform/system_access.h"
#include "platform/text.h"
#include "platform/windows/owned.h"
#include "platform/windows/system_error.h"

namespace zep::platform {
namespace {

std::wstring parentOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

// The machine a PE file is built for (its file header's Machine field); 0
// when the file is none or cannot be read.
WORD machineOf(const std::u16string& file) {
    const UniqueFile handle(::CreateFileW(wide(file), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return 0;
    auto readAt = [&](LONG offset, void* into, DWORD size) {
        DWORD read = 0;
        return ::SetFilePointer(handle.get(), offset, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
               ::ReadFile(handle.get(), into, size, &read, nullptr) && read == size;
    };
    IMAGE_DOS_HEADER dos{};
    DWORD signature = 0;
    IMAGE_FILE_HEADER header{};
    const bool read = readAt(0, &dos, sizeof dos) && dos.e_magic == IMAGE_DOS_SIGNATURE &&
                      readAt(dos.e_lfanew, &signature, sizeof signature) && signature == IMAGE_NT_SIGNATURE &&
                      readAt(dos.e_lfanew + static_cast<LONG>(sizeof signature), &header, sizeof header);
    return read ? header.Machine : 0;
}

// Loads into `runtime` (see loadRuntimeLibrary); the failed call's last-error
// code when the library does not load, ERROR_SUCCESS when it does.
DWORD loadModules(RuntimeLibrary& runtime, const std::u16string& path, const LoaderCalls& calls) {
    const std::wstring library = fullPath(path, calls);
    if (library.empty()) return ::GetLastError();
    // A damaged library in bin must not stop the launcher on a system error
    // box, in the search's probe or in the load that keeps it.
    const QuietErrorBoxes quiet;
    const std::wstring bin = parentOf(parentOf(library));
    bool searchWithBin = calls.addDllDirectory != nullptr && calls.removeDllDirectory != nullptr;
    DLL_DIRECTORY_COOKIE added{};
    if (searchWithBin && !bin.empty()) {
        added = calls.addDllDirectory(bin.c_str());
        // Wine refuses a "\\server\share" path to both calls, yet loads it by
        // its full path: then the library is loaded as where they are missing.
        if (added == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) searchWithBin = false;
    }
    const ScopeExit removed([&] {
        if (added != nullptr) calls.removeDllDirectory(added);
    });
    // Owned from the moment each is loaded, released through the calls that loaded it.
    auto load = [&](const std::wstring& file) {
        HMODULE module = nullptr;
        if (searchWithBin) {
            module = calls.loadLibraryEx(file.c_str(), nullptr, kRuntimeSearchFlags);
            if (module == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) searchWithBin = false;
        }
        if (!searchWithBin) module = calls.loadLibrary(file.c_str());
        return RuntimeLibrary::Module(module, RuntimeModuleTraits{calls.freeLibrary});
    };

    if (!bin.empty()) {
        for (const wchar_t* name : kRuntimeCompanions) {
            const std::wstring companion = bin + L'\\' + name;
            if (calls.getFileAttributes(companion.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
            // One that does not load is left to the JVM library's own load to report.
            if (RuntimeLibrary::Module module = load(companion)) runtime.keepCompanion(std::move(module));
        }
    }
    RuntimeLibrary::Module jvm = load(library);
    if (!jvm) {
        const DWORD error = ::GetLastError();
        runtime.reset();  // what was loaded for it goes, last first, while bin is still in the search
        return error;
    }
    runtime.keepLibrary(std::move(jvm));
    return ERROR_SUCCESS;
}

}  // namespace

std::wstring fullPath(const std::u16string& path, const LoaderCalls& calls) {
    std::wstring full;
    DWORD capacity = 0;
    for (;;) {
        const DWORD length = calls.getFullPathName(wide(path), capacity, full.empty() ? nullptr : full.data(), nullptr);
        if (length == 0) return {};
        if (length < capacity) {
            full.resize(length);
            return full;
        }
        capacity = length;  // too small: the size needed, terminator included
        full.assign(capacity, L'\0');
    }
}

RuntimeLibrary loadRuntimeLibrary(const std::u16string& path, const LoaderCalls& calls) {
    RuntimeLibrary runtime;
    const DWORD error = loadModules(runtime, path, calls);
    if (!runtime) runtime.fail(describeLoadFailure(error, path));
    return runtime;
}

std::string describeLoadFailure(DWORD error, const std::u16string& path) {
    if (error == ERROR_BAD_EXE_FORMAT && machineOf(path) == IMAGE_FILE_MACHINE_I386) {
        return "a 32-bit runtime, which this 64-bit launcher cannot use";
    }
    if (error == ERROR_MOD_NOT_FOUND && ::GetFileAttributesW(wide(path)) != INVALID_FILE_ATTRIBUTES) {
        return "a library it needs is missing (error 126)";
    }
    // The system's text is taken with its inserts left as they are: what one
    // stands for differs from message to message, so the file is named beside it.
    const std::string text = systemErrorText(error);
    return utf16ToUtf8(path.substr(path.find_last_of(u"\\/") + 1)) + ", error " + std::to_string(error) + ": " +
           (text.empty() ? "no text for it" : text);
}

LoaderCalls systemLoaderCalls() {
    LoaderCalls system{&::GetFileAttributesW,
                       &::GetFullPathNameW,
                       &::LoadLibraryW,
                       &::LoadLibraryExW,
                       &::FreeLibrary,
                       nullptr,
                       nullptr};
    // Looked up at each use, which costs two lookups in a module already
    // loaded, rather than kept.
    if (HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll")) {
        system.addDllDirectory = lookupFunction<decltype(system.addDllDirectory)>(kernel, "AddDllDirectory");
        system.removeDllDirectory = lookupFunction<decltype(system.removeDllDirectory)>(kernel, "RemoveDllDirectory");
    }
    return system;
}

}  // namespace zep::platform
