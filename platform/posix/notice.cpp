// The runtime-missing notice: a dialog when there is a desktop to show it,
// lines on the terminal when there is not, and silence when neither reaches
// a person (a script that reads standard error wants the message alone).

#include <iostream>

#include "platform/platform.h"
#include "platform/posix/notice_forms.h"
#include "platform/utf.h"
#include "resources/string_ids.h"

namespace zep::platform {

void showRuntimeMissingNotice(const std::u16string& text, const std::u16string& helpUrl) {
    const posix::NoticeTexts texts{
        utf16ToUtf8(loadString(IDS_RUNTIME_MISSING_TITLE)),
        utf16ToUtf8(text),
        utf16ToUtf8(loadString(IDS_BUTTON_OK)),
        utf16ToUtf8(loadString(IDS_BUTTON_HELP)),
        utf16ToUtf8(helpUrl),
    };
    if (!posix::runDialogNotice(texts)) posix::writeTerminalNotice(texts);
}

void showMessages(const std::u16string& text) { std::cerr << utf16ToUtf8(text); }

}  // namespace zep::platform
