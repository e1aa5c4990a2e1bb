#pragma once
// What only the Windows build has of the real machine.

#include "platform/registry.h"

namespace zep::platform {

// The registry of the running system.
Registry& systemRegistry();

}  // namespace zep::platform
