#include "launcher/launcher.h"

namespace zep {

void Launcher::showJavaMissingNotice() { platform::showRuntimeMissingNotice(noticeText, helpUrl); }

}  // namespace zep
