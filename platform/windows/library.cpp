#include "platform/platform.h"
#include "platform/windows/runtime_loader.h"
#include "platform/windows/win32.h"

namespace zep::platform {

Library Library::load(const std::u16string& path) { return Library(::LoadLibraryW(wide(path))); }

void* Library::symbol(const char* name) const {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

void Library::reset() {
    if (handle_ != nullptr) {
        ::FreeLibrary(static_cast<HMODULE>(handle_));
        handle_ = nullptr;
    }
}

RuntimeLibrary RuntimeLibrary::load(const std::u16string& path) {
    RuntimeModules modules = loadRuntimeModules(path, systemLoaderCalls());
    RuntimeLibrary loaded;
    for (HMODULE companion : modules.companions) loaded.companions_.push_back(Library::adopt(companion));
    loaded.library_ = Library::adopt(modules.library);
    if (!loaded.library_) loaded.failure_ = describeLoadFailure(modules.error, path);
    return loaded;
}

}  // namespace zep::platform
