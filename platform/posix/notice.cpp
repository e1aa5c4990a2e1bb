#include "platform/platform.h"

namespace zep::platform {

// No notice on this platform yet; the launcher's message still tells what went wrong.
void showRuntimeMissingNotice(const std::u16string&, const std::u16string&) {}

}  // namespace zep::platform
