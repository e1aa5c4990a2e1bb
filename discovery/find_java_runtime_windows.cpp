#include "discovery/find_java_runtime.h"
#include "discovery/registry_search.h"
#include "platform/registry.h"
#include "platform/system_access.h"
#include "platform/trace.h"

namespace zep {

std::optional<std::u16string> findJavaRuntime() {
    // Probing a Path entry on an empty removable drive must not stop the
    // launcher on a system error box.
    const platform::QuietErrorBoxes quiet;
    discovery::RegistryRuntimeSearch search(platform::systemAccess(), platform::systemRegistry());
    std::optional<std::u16string> result = search.findJavaRuntime();
    if (!result && platform::trace::on()) search.traceRuntimesOf32BitView();
    return result;
}

}  // namespace zep
