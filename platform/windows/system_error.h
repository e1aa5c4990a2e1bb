#pragma once
// The system's own words for a Win32 error code.

#include <string>

#include "platform/windows/win32.h"

namespace zep::platform {

// The system's text for `error` (FormatMessageW, its inserts left as they
// are) in UTF-8, on one line: each run of line ends becomes one space, and
// the spaces that end it are dropped. Empty when the system has no text for it.
std::string systemErrorText(DWORD error);

// "error <code>", then the system's text for it when it has one: for a trace
// line or a reason given back.
std::string errorCodeText(DWORD error);

}  // namespace zep::platform
