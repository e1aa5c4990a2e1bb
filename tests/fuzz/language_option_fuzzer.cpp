// Any option through the language selection: it never fails, a language
// option always leaves a body without the anchor's markup when the body had
// one, and the help address stays an http address.

#include <cstdint>

#include "launcher/launcher.h"
#include "platform/text.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zep::fuzz::require;
    std::u16string option = zep::fuzz::units(data, size);
    option = option.substr(0, option.find(u'\0'));
    zep::Launcher launcher;
    const std::u16string defaultUrl = launcher.helpUrl;
    launcher.applyLanguageOption(option.c_str());
    if (!zep::platform::hasPrefixIgnoreCase(option.c_str(), u"-Duser.language=")) {
        require(launcher.noticeText.empty() && launcher.helpUrl == defaultUrl);
        return 0;
    }
    require(launcher.helpUrl.starts_with(u"http://"));
    require(launcher.noticeText.find(u"<a href=") == std::u16string::npos);
    return 0;
}
