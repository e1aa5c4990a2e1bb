// The notice on Windows: the system's own message box, with the localized OK
// and Help labels on its buttons; and the messages of zepw.exe in a box.

#include "notice/notice_forms.h"
#include "notice/show_notice.h"
#include "platform/dialog.h"
#include "platform/strings.h"
#include "resources/string_ids.h"

namespace zep::notice {

void showRuntimeMissingNotice(const std::u16string& text, const std::u16string& helpUrl) {
    using platform::loadString;
    const NoticeTexts texts{
        loadString(IDS_RUNTIME_MISSING_TITLE), text, loadString(IDS_BUTTON_OK), loadString(IDS_BUTTON_HELP), helpUrl,
    };
    // A box the system refuses leaves nobody to tell.
    runDialogNotice(texts);
}

void showMessages(const std::u16string& text) { platform::showMessageBox(u"zep", text); }

}  // namespace zep::notice
