// The notice on Windows: the system's own message box, with the localized OK
// and Help labels on its buttons; and the messages of zepw.exe in a box.

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
    // A box the system refuses leaves nobody to tell.
    runDialogNotice(texts);
}

void showMessages(const std::u16string& text) { platform::showMessageBox(u"zep", text); }

}  // namespace zep::notice
