#include <dlfcn.h>

#include "platform/platform.h"
#include "platform/utf.h"

namespace zep::platform {

Library Library::load(const std::u16string& path) {
    // Immediate binding, so that a library with unresolvable symbols is refused
    // here and not at its first call; global, as the JVM's own launcher loads it.
    return Library(::dlopen(utf16ToUtf8(path).c_str(), RTLD_NOW | RTLD_GLOBAL));
}

void* Library::symbol(const char* name) const { return ::dlsym(handle_, name); }

void Library::reset() {
    if (handle_ != nullptr) {
        ::dlclose(handle_);
        handle_ = nullptr;
    }
}

}  // namespace zep::platform
