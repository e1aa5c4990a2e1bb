#include "discovery/directory_search.h"
#include "discovery/find_java_runtime.h"
#include "platform/system_access.h"

namespace zep {

std::optional<std::u16string> findJavaRuntime() {
    return discovery::DirectoryRuntimeSearch(platform::directoryAccess()).findJavaRuntime();
}

}  // namespace zep
