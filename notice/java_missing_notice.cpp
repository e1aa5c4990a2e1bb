#include "launcher/launcher.h"

namespace zep {

// No notice box yet; the caller's message still tells what went wrong.
void Launcher::showJavaMissingNotice() {}

}  // namespace zep
