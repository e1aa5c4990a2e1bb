#include "platform/windows/globals.h"

namespace zep::platform {

Globals& getGlobals() {
    static Globals globals;
    return globals;
}

}  // namespace zep::platform
