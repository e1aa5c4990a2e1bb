#include "discovery/find_java_runtime.h"
#include "discovery/registry_search.h"

namespace zep {

std::u16string findJavaRuntime() {
    // Probing a Path entry on an empty removable drive must not stop the
    // launcher on a system error box.
    const platform::QuietErrorBoxes quiet;
    return discovery::RegistryRuntimeSearch(platform::systemAccess(), platform::systemRegistry()).findJavaRuntime();
}

}  // namespace zep
