#include "platform/library.h"
#include "platform/windows/runtime_loader.h"
#include "platform/windows/win32.h"

namespace zep::platform {

void LibraryTraits::close(pointer library) const noexcept {
    if (unload != nullptr) {
        unload(library);
    } else {
        ::FreeLibrary(library);
    }
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

Library::Address Library::address(const char* name) const {
    return reinterpret_cast<Address>(::GetProcAddress(handle_.get(), name));
}

RuntimeLibrary RuntimeLibrary::load(const std::u16string& path) {
    RuntimeModules modules = loadRuntimeModules(path, systemLoaderCalls());
    RuntimeLibrary loaded;
    loaded.companions_ = std::move(modules.companions);
    loaded.library_ = std::move(modules.library);
    if (!loaded.library_) loaded.failure_ = describeLoadFailure(modules.error, path);
    return loaded;
}

}  // namespace zep::platform
