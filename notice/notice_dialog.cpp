// The notice as a dialog, the same on every system: its texts shown, and the
// help address opened when Help is chosen.

#include "notice/notice_forms.h"
#include "platform/dialog.h"

namespace zep::notice {

std::optional<NoticeChoice> runDialogNotice(const NoticeTexts& texts) {
    const std::optional<NoticeChoice> choice =
        platform::showDialog({texts.title, texts.body, texts.okLabel, texts.helpLabel});
    if (choice == NoticeChoice::Help && !texts.helpUrl.empty()) platform::openWithDefaultHandler(texts.helpUrl);
    return choice;
}

}  // namespace zep::notice
