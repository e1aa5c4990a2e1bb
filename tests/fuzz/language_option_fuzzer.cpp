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
    std::u16string noticeText;
    std::u16string helpUrl = zep::kDefaultHelpUrl;
    zep::notice::applyLanguageOption(option, noticeText, helpUrl);
    if (!zep::platform::hasPrefixIgnoreCase(option, u"-Duser.language=")) {
        require(noticeText.empty() && helpUrl == zep::kDefaultHelpUrl);
        return 0;
    }
    require(helpUrl.starts_with(u"http://"));
    require(noticeText.find(u"<a href=") == std::u16string::npos);
    return 0;
}
