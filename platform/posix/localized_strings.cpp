#include <cstdlib>
#include <optional>

#include "platform/locale_language.h"
#include "platform/localized_strings.h"
#include "platform/string_entry.h"
#include "resources/string_table.h"

namespace zep::platform {
namespace {

std::optional<std::u16string_view> embeddedEntry(std::uint16_t langid, unsigned id) {
    for (std::size_t i = 0; i < kEmbeddedStringCount; ++i) {
        const EmbeddedString& entry = kEmbeddedStrings[i];
        if (entry.langid == langid && entry.id == id && entry.text[0] != u'\0') return entry.text;
    }
    return std::nullopt;
}

}  // namespace

void setThreadUiLanguage(LanguageId) {}

std::u16string loadString(unsigned id, std::optional<LanguageId> language) {
    std::optional<std::u16string_view> entry;
    if (language) entry = embeddedEntry(*language, id);
    if (!entry) {
        entry =
            embeddedEntry(localeLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")), id);
    }
    return entry ? textAsLoaded(*entry) : std::u16string();
}

}  // namespace zep::platform
