#include "launcher/launcher.h"
#include "launcher/message.h"
#include "platform/trace.h"

namespace zep {

void Launcher::showJavaMissingNotice() {
    const platform::trace::Stopwatch shown;
    platform::showRuntimeMissingNotice(noticeText, helpUrl);
    noticeShown();
    platform::trace::line("runtime-missing notice closed after " + shown.elapsed());
}

}  // namespace zep
