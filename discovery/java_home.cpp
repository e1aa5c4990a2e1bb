#include "discovery/java_home.h"

namespace zep::discovery {

bool isJavaHome(const std::u16string& home, const HomeLayout& layout, platform::SystemAccess& system) {
    if (!system.isPresent(home + std::u16string(layout.javaExecutable))) return false;
    const std::u16string library = home + std::u16string(layout.jvmLibrary);
    if (!system.isPresent(library)) return false;
    // The costly probe comes last: it rejects a library that is there but
    // cannot live in this process (another architecture, missing imports).
    return system.canLoad(library);
}

bool resolveJvmFromHome(const std::u16string& home, std::u16string& result, const HomeLayout& layout,
                        platform::SystemAccess& system) {
    std::u16string candidate = home;
    if (!isJavaHome(candidate, layout, system)) {
        candidate += layout.jreDirectory;
        if (!isJavaHome(candidate, layout, system)) return false;
    }
    result = candidate + std::u16string(layout.jvmLibrary);
    return true;
}

}  // namespace zep::discovery
