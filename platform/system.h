#pragma once
// The system as one launch reaches it: the machine, on Windows its registry,
// and the launch's trace. The entry point makes the real ones and lends them
// to the launch, which hands them down to every step; a test lends its own.

#include "platform/registry.h"
#include "platform/system_access.h"
#include "platform/trace.h"

namespace zep::platform {

struct System {
#ifdef _WIN32
    SystemAccess& machine;
    Registry& registry;
#else
    DirectoryAccess& machine;  // the POSIX search lists directories and follows links
#endif
    Trace& trace;
};

}  // namespace zep::platform
