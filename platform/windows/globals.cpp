#include "platform/windows/globals.h"

namespace zep::platform {

Globals& getGlobals() {
    static Globals globals;
    return globals;
}

void setRuntimeHookTarget(RuntimeHookTarget* target) noexcept { getGlobals().runtimeHookTarget = target; }

RuntimeHookTarget* runtimeHookTarget() noexcept { return getGlobals().runtimeHookTarget; }

}  // namespace zep::platform
