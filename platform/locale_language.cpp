#include "platform/locale_language.h"

#include <algorithm>
#include <string_view>

#include "resources/string_table.h"

namespace zep::platform {
namespace {

constexpr std::uint16_t kEnglish = 1033;

}  // namespace

std::uint16_t localeLanguage(const char* lcAll, const char* lcMessages, const char* lang) {
    std::string_view locale;
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    }
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    if (language.empty()) return kEnglish;
    // The table's codes are language parts too, some with a region ("en_GB").
    for (std::size_t i = 0; i < kLanguageCodeCount; ++i) {
        const std::u16string_view code(kLanguageCodes[i].code);
        const std::u16string_view part = code.substr(0, code.find(u'_'));
        if (std::equal(part.begin(), part.end(), language.begin(), language.end())) return kLanguageCodes[i].langid;
    }
    return kEnglish;
}

}  // namespace zep::platform
