#include <dlfcn.h>
#include <sys/stat.h>

#include "platform/library.h"
#include "platform/text.h"

namespace zep::platform {

void LibraryTraits::close(pointer library) const noexcept {
    if (unload != nullptr) {
        unload(library);
    } else {
        ::dlclose(reinterpret_cast<void*>(library));
    }
}

Library Library::load(const std::u16string& path) {
    // Immediate binding, so that a library with unresolvable symbols is refused
    // here and not at its first call; global, as the JVM's own launcher loads it.
    void* const handle = ::dlopen(encodeLossless(path).c_str(), RTLD_NOW | RTLD_GLOBAL);
    return Library(UniqueHandle<LibraryTraits>(reinterpret_cast<NativeLibrary>(handle)));
}

Library Library::loadResident(const std::u16string& name) {
    void* const handle = ::dlopen(encodeLossless(name).c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    return Library(UniqueHandle<LibraryTraits>(reinterpret_cast<NativeLibrary>(handle)));
}

Library::Address Library::address(const char* name) const {
    return reinterpret_cast<Address>(::dlsym(reinterpret_cast<void*>(handle_.get()), name));
}

RuntimeLibrary RuntimeLibrary::load(const std::u16string& path) {
    // dlopen would wait forever on a FIFO without a writer; libjvm.so finds
    // the runtime's other libraries through its own run path.
    RuntimeLibrary loaded;
    struct stat info {};
    if (::stat(encodeLossless(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        loaded.failure_ = "not a regular file";
        return loaded;
    }
    ::dlerror();
    loaded.library_ = Library::load(path);
    if (!loaded.library_) {
        const char* reason = ::dlerror();
        loaded.failure_ = reason != nullptr ? reason : "dlopen failed";
    }
    return loaded;
}

}  // namespace zep::platform
