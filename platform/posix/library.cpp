#include <dlfcn.h>
#include <sys/stat.h>

#include "platform/library.h"
#include "platform/text.h"

namespace zep::platform {
namespace {

// Immediate binding, so that a library with unresolvable symbols is refused
// here and not at its first call; global, as the JVM's own launcher loads it.
NativeLibrary open(const std::u16string& path, int flags = RTLD_NOW | RTLD_GLOBAL) {
    return reinterpret_cast<NativeLibrary>(::dlopen(encodeLossless(path).c_str(), flags));
}

}  // namespace

int releaseLibrary(NativeLibrary library) { return ::dlclose(reinterpret_cast<void*>(library)); }

ProcAddress procAddress(NativeLibrary library, const char* name) {
    return reinterpret_cast<ProcAddress>(::dlsym(reinterpret_cast<void*>(library), name));
}

Library Library::load(const std::u16string& path) { return Library(UniqueHandle<LibraryTraits>(open(path))); }

Library Library::loadResident(const std::u16string& name) {
    return Library(UniqueHandle<LibraryTraits>(open(name, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)));
}

RuntimeLibrary RuntimeLibrary::load(const std::u16string& path) {
    // dlopen would wait forever on a FIFO without a writer; libjvm.so finds
    // the runtime's other libraries through its own run path.
    RuntimeLibrary loaded;
    struct stat info {};
    if (::stat(encodeLossless(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        loaded.fail("not a regular file");
        return loaded;
    }
    ::dlerror();
    loaded.keepLibrary(Module(open(path)));
    if (!loaded) {
        const char* reason = ::dlerror();
        loaded.fail(reason != nullptr ? reason : "dlopen failed");
    }
    return loaded;
}

}  // namespace zep::platform
