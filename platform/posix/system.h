#pragma once
// What only the POSIX build has of the real machine.

#include "platform/system_access.h"

namespace zep::platform {

// The machine with its directories and links, as the POSIX search reads them.
DirectoryAccess& directoryAccess();

}  // namespace zep::platform
