#pragma once

namespace zep::platform {

// True when the caller gave this process a standard error to write to: a
// file, a pipe, or a character device that is no console (the NUL device).
// A program without a console of its own (zepw.exe) started from the desktop
// has none.
bool standardErrorGivenByCaller();

}  // namespace zep::platform
