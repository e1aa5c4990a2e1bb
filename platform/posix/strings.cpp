#include <cstdlib>
#include <optional>

#include "platform/locale_language.h"
#include "platform/string_entry.h"
#include "platform/strings.h"
#include "resources/string_table.h"

namespace zep::platform {
namespace {

// Per thread, as the user-interface language is on Windows.
thread_local std::optional<std::uint16_t> selectedLanguage;

std::optional<std::u16string_view> embeddedEntry(std::uint16_t langid, unsigned id) {
    for (std::size_t i = 0; i < kEmbeddedStringCount; ++i) {
        const EmbeddedString& entry = kEmbeddedStrings[i];
        if (entry.langid == langid && entry.id == id && entry.text[0] != u'\0') return entry.text;
    }
    return std::nullopt;
}

}  // namespace

void setThreadUiLanguage(std::uint16_t langid) { selectedLanguage = langid; }

std::u16string loadString(unsigned id) {
    std::optional<std::u16string_view> entry;
    if (selectedLanguage) entry = embeddedEntry(*selectedLanguage, id);
    if (!entry) {
        entry =
            embeddedEntry(localeLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")), id);
    }
    return entry ? textAsLoaded(*entry) : std::u16string();
}

}  // namespace zep::platform
