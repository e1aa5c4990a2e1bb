#pragma once
// Standard error as a descriptor (POSIX) or handle (Windows), written
// directly rather than through the C++ stream: the messages and the trace.

#include <string_view>

namespace zep::platform {

// False when the process was started without a standard error.
bool standardErrorIsOpen();

#ifndef _WIN32
// True when standard error is a terminal, where a person reads it. (On
// Windows the notice is a box, and nobody asks.)
bool standardErrorIsTerminal();
#endif

// Writes `bytes` whole, straight to standard error; false when that failed,
// part of them possibly written. On POSIX a closed pipe does not end the
// process: SIGPIPE is held back for the write, and one it raised is taken.
bool writeStandardErrorDirectly(std::string_view bytes);

// The same for standard output: what the Java runtime printed there, written
// again where it would have gone.
bool writeStandardOutputDirectly(std::string_view bytes);

}  // namespace zep::platform
