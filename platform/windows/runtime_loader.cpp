#include "platform/windows/runtime_loader.h"

#include "platform/system_access.h"
#include "platform/text.h"
#include "platform/windows/owned.h"

namespace zep::platform {
namespace {

std::wstring parentOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

// The machine a PE file is built for (its file header's Machine field); 0
// when the file is none or cannot be read.
WORD machineOf(const std::wstring& file) {
    const UniqueFile handle(::CreateFileW(file.c_str(), GENERIC_READ,
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

// The system's text for an error code, in UTF-8, on one line.
std::string systemText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const UniqueLocalMemory owned(text);
    if (length == 0 || text == nullptr) return "no text for it";
    std::u16string message;
    for (const char16_t unit : std::u16string_view(reinterpret_cast<const char16_t*>(text), length)) {
        const bool lineEnd = unit == u'\r' || unit == u'\n';
        if (!lineEnd) {
            message.push_back(unit);
        } else if (!message.empty() && message.back() != u' ') {
            message.push_back(u' ');
        }
    }
    while (!message.empty() && message.back() == u' ') message.pop_back();
    return utf16ToUtf8(message);
}

// An export of `module` as the function type it has; null when it is missing.
// void (*)() is the generic function pointer type a procedure address passes through.
template <typename Function>
Function procedure(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace

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

RuntimeModules loadRuntimeModules(const std::u16string& path, const LoaderCalls& calls) {
    RuntimeModules loaded;
    const std::wstring library = fullPath(std::wstring(path.begin(), path.end()), calls);
    if (library.empty()) {
        loaded.error = ::GetLastError();
        return loaded;
    }
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
    auto load = [&](const std::wstring& file) {
        HMODULE module = nullptr;
        if (searchWithBin) {
            module = calls.loadLibraryEx(file.c_str(), nullptr, kRuntimeSearchFlags);
            if (module == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) searchWithBin = false;
        }
        if (!searchWithBin) module = calls.loadLibrary(file.c_str());
        return Library(UniqueHandle<LibraryTraits>(module, LibraryTraits{calls.freeLibrary}));
    };

    // Owned from the moment each is loaded; freed, last first, unless the
    // JVM library loads too.
    loaded.companions.reserve(std::size(kRuntimeCompanions));
    if (!bin.empty()) {
        for (const wchar_t* name : kRuntimeCompanions) {
            const std::wstring companion = bin + L'\\' + name;
            if (calls.getFileAttributes(companion.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
            // One that does not load is left to the JVM library's own load to report.
            if (Library module = load(companion)) loaded.companions.push_back(std::move(module));
        }
    }
    loaded.library = load(library);
    if (!loaded.library) {
        loaded.error = ::GetLastError();
        while (!loaded.companions.empty()) loaded.companions.pop_back();
    }
    return loaded;
}

std::string describeLoadFailure(DWORD error, const std::u16string& path) {
    const std::wstring file(path.begin(), path.end());
    if (error == ERROR_BAD_EXE_FORMAT && machineOf(file) == IMAGE_FILE_MACHINE_I386) {
        return "a 32-bit runtime, which this 64-bit launcher cannot use";
    }
    if (error == ERROR_MOD_NOT_FOUND && ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return "a library it needs is missing (error 126)";
    }
    // The system's text is taken with its inserts left as they are: what one
    // stands for differs from message to message, so the file is named beside it.
    return utf16ToUtf8(path.substr(path.find_last_of(u"\\/") + 1)) + ", error " + std::to_string(error) + ": " +
           systemText(error);
}

const LoaderCalls& systemLoaderCalls() {
    static const LoaderCalls calls = [] {
        LoaderCalls system{
            &::GetFileAttributesW, &::GetFullPathNameW, &::LoadLibraryW, &::LoadLibraryExW, nullptr, nullptr, nullptr};
        if (HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll")) {
            system.addDllDirectory = procedure<decltype(system.addDllDirectory)>(kernel, "AddDllDirectory");
            system.removeDllDirectory = procedure<decltype(system.removeDllDirectory)>(kernel, "RemoveDllDirectory");
        }
        return system;
    }();
    return calls;
}

}  // namespace zep::platform
