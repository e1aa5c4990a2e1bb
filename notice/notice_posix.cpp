// The notice on POSIX systems: a dialog when there is a desktop to show it,
// lines on the terminal when there is not, and silence when neither reaches
// a person (a script that reads standard error wants the message alone).

#include "notice/notice_forms.h"
#include "notice/show_notice.h"
#include "platform/standard_error.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "resources/string_ids.h"

namespace zep::notice {

void showRuntimeMissingNotice(const std::u16string& text, const std::u16string& helpUrl) {
    using platform::loadString;
    const NoticeTexts texts{
        loadString(IDS_RUNTIME_MISSING_TITLE), text, loadString(IDS_BUTTON_OK), loadString(IDS_BUTTON_HELP), helpUrl,
    };
    if (!runDialogNotice(texts)) writeTerminalNotice(texts);
}

void showMessages(const std::u16string& text) { platform::writeStandardErrorDirectly(platform::utf16ToUtf8(text)); }

}  // namespace zep::notice
