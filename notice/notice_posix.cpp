// The notice on POSIX systems: a dialog when there is a desktop to show it,
// lines on the terminal when there is not, and silence when neither reaches
// a person (a script that reads standard error wants the message alone); and
// the messages of zepw in a box.

#include "notice/notice_forms.h"
#include "notice/show_notice.h"
#include "platform/dialog.h"
#include "platform/localized_strings.h"
#include "resources/string_ids.h"

namespace zep::notice {

void showRuntimeMissingNotice(const NoticeText& notice) {
    const auto load = [&](unsigned id) { return platform::loadString(id, notice.language); };
    const NoticeTexts texts{
        load(IDS_RUNTIME_MISSING_TITLE), notice.body, load(IDS_BUTTON_OK), load(IDS_BUTTON_HELP), notice.helpUrl,
    };
    if (!runDialogNotice(texts)) writeTerminalNotice(texts);
}

// Without a display, or without GTK, the box is not shown: the messages are
// on standard error already.
void showMessages(const std::u16string& text) { platform::showMessageBox(u"zep", text); }

}  // namespace zep::notice
