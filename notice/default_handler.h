#pragma once
// Opening an address the way the desktop opens it: with the program the user
// chose for its scheme (a web browser, for http).

#include <string>

#include "notice/gtk_runtime.h"

namespace zep::notice {

// Asks GIO to open `address` and returns once the program is started; what
// it does then, and whether it could be started at all, is not reported.
void openWithDefaultHandler(const GtkRuntime& gtk, const std::string& address);

}  // namespace zep::notice
