#include "discovery/find_java_runtime.h"
#include "discovery/windows_search.h"

namespace zep::discovery {

std::optional<FoundRuntime> findJavaRuntime(const platform::System& system) {
    // Probing a Path entry on an empty removable drive must not stop the
    // launcher on a system error box.
    const platform::QuietErrorBoxes quiet;
    WindowsRuntimeSearch search(system.machine, system.registry, system.trace);
    std::optional<FoundRuntime> found = search.find();
    if (!found && system.trace.on()) search.traceRuntimesOf32BitView();
    return found;
}

}  // namespace zep::discovery
