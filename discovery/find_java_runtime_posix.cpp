#include "discovery/find_java_runtime.h"
#include "discovery/posix_search.h"

namespace zep::discovery {

std::optional<FoundRuntime> findJavaRuntime(const platform::System& system) {
    return PosixRuntimeSearch(system.machine, system.trace).find();
}

}  // namespace zep::discovery
