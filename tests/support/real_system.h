#pragma once
// The running system as the entry points make it, for the tests and tools
// that reach the real machine.

#ifdef _WIN32
#include "platform/windows/system_access.h"
#else
#include "platform/posix/system_access.h"
#endif
#include "platform/system.h"

namespace zep::test {

struct RealSystem {
    platform::Trace trace;  // off unless started
#ifdef _WIN32
    platform::Win32Access machine{trace};
    platform::Win32Registry registry;
    platform::System system() { return {machine, registry, trace}; }
#else
    platform::PosixAccess machine{trace};
    platform::System system() { return {machine, trace}; }
#endif
};

}  // namespace zep::test
