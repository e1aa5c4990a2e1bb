// The POSIX build's choice of copy when the thread's language has none: the
// user's locale, read the way POSIX orders its variables.

#include <gtest/gtest.h>

#include "platform/locale_language.h"

namespace zep::platform {
namespace {

struct Case {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    std::uint16_t langid;
};

TEST(LocaleLanguage, TheFirstVariableThatIsSetAndNotEmptyDecides) {
    const Case cases[] = {
        {nullptr, nullptr, "de_DE.UTF-8", 1031},
        {nullptr, "ja_JP.UTF-8", "de_DE.UTF-8", 1041},
        {"fr_FR.UTF-8", "ja_JP.UTF-8", "de_DE.UTF-8", 1036},
        {"", "", "ru_RU.UTF-8", 1049},        // set but empty counts as unset
        {"C", nullptr, "de_DE.UTF-8", 1033},  // "C" is a locale too, and English
        {"", "", "", 1033},
        {nullptr, nullptr, nullptr, 1033},
    };
    for (const auto& [lcAll, lcMessages, lang, langid] : cases) {
        EXPECT_EQ(localeLanguage(lcAll, lcMessages, lang), langid)
            << (lcAll ? lcAll : "unset") << " / " << (lcMessages ? lcMessages : "unset") << " / "
            << (lang ? lang : "unset");
    }
}

TEST(LocaleLanguage, TheLanguagePartPicksTheCopy) {
    const std::pair<const char*, std::uint16_t> cases[] = {
        {"es", 10},
        {"es_MX.UTF-8", 10},
        {"de@euro", 1031},
        {"en_GB.UTF-8", 1033},
        {"en_US", 1033},
        {"fr_CA", 1036},
        {"it_IT@euro", 1040},
        {"ja_JP.eucJP", 1041},
        {"pt_BR", 1046},
        {"pt_PT.UTF-8", 1046},
        {"ru_UA", 1049},
        {"zh_CN.GB18030", 2052},
        // No copy of their own: English.
        {"C.UTF-8", 1033},
        {"POSIX", 1033},
        {"nl_NL", 1033},
        {"e", 1033},
        {"eng", 1033},
        {"_DE", 1033},
    };
    for (const auto& [locale, langid] : cases) EXPECT_EQ(localeLanguage(nullptr, nullptr, locale), langid) << locale;
}

}  // namespace
}  // namespace zep::platform
