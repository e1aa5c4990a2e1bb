#include "platform/locale_language.h"

#include <string>
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
    // A language part is a code of the table as it stands, bar English, whose
    // one copy goes by "en_GB" and is the answer for any other language too.
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    return findLanguage(std::u16string(language.begin(), language.end())).value_or(kEnglish);
}

}  // namespace zep::platform
