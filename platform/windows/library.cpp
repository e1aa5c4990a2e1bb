#include "platform/library.h"
#include "platform/windows/runtime_loader.h"
#include "platform/windows/win32.h"

namespace zep::platform {

int releaseLibrary(NativeLibrary library) { return ::FreeLibrary(library); }

ProcAddress procAddress(NativeLibrary library, const char* name) {
    return reinterpret_cast<ProcAddress>(::GetProcAddress(library, name));
}

Library Library::load(const std::u16string& path) {
    return Library(UniqueHandle<LibraryTraits>(::LoadLibraryW(wide(path))));
}

Library Library::loadResident(const std::u16string& name) {
    // The system's folders only: never the current directory or Path.
    Library library(UniqueHandle<LibraryTraits>(::LoadLibraryExW(wide(name), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)));
    HMODULE pinned = nullptr;
    if (library) ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, wide(name), &pinned);
    return library;
}

RuntimeLibrary RuntimeLibrary::load(const std::u16string& path) {
    return loadRuntimeLibrary(path, systemLoaderCalls());
}

}  // namespace zep::platform
