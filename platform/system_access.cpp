#include "platform/system_access.h"

namespace zep::platform {

LoadProbe SystemAccess::probeLoad(const std::u16string& path) {
    const RuntimeLibrary library = RuntimeLibrary::load(path);
    return {static_cast<bool>(library), library.failure()};
}

}  // namespace zep::platform
