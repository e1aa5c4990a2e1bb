#include <initializer_list>
#include <string>

#include "notice/notice_forms.h"
#include "platform/standard_error.h"
#include "platform/text.h"

namespace zep::notice {

void writeTerminalNotice(const NoticeTexts& texts) {
    if (!platform::standardErrorIsTerminal()) return;
    // An empty piece (no body without a language option) would only be a stray blank line.
    std::string lines;
    for (const std::u16string* piece : {&texts.title, &texts.body, &texts.helpUrl}) {
        if (!piece->empty()) lines += platform::utf16ToUtf8(*piece) + '\n';
    }
    // A write that fails is a closed terminal: nobody is left to tell.
    platform::writeStandardErrorDirectly(lines);
}

}  // namespace zep::notice
