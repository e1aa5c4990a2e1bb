// Any option through the language selection: it never fails, a language
// option always leaves a body without the anchor's markup when the body had
// one, and the help address stays an http address.

#include <cstdint>

#include "notice/notice_text.h"
#include "platform/text.h"
#include "resources/help_address.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zep::fuzz::require;
    std::u16string option = zep::fuzz::units(data, size);
    option = option.substr(0, option.find(u'\0'));
    zep::notice::NoticeText notice;
    zep::notice::applyLanguageOption(option, notice);
    if (!zep::platform::hasPrefixIgnoreCase(option, u"-Duser.language=")) {
        require(notice.body.empty() && notice.helpUrl == zep::kDefaultHelpUrl && !notice.language);
        return 0;
    }
    require(notice.helpUrl.starts_with(u"http://"));
    require(notice.body.find(u"<a href=") == std::u16string::npos);
    return 0;
}
