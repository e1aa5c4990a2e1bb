#pragma once
// Standard error as a descriptor (POSIX) or handle (Windows), written
// directly rather than through the C++ stream: the messages and the trace.

#include <string_view>

namespace zep::platform {

// False when the process was started without a standard error.
bool standardErrorIsOpen();

// Writes `bytes` whole, straight to standard error; false when that failed,
// part of them possibly written. On POSIX a closed pipe does not end the
// process: SIGPIPE is held back for the write, and one it raised is taken.
bool writeStandardErrorDirectly(std::string_view bytes);

}  // namespace zep::platform
