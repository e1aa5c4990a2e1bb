#pragma once
// The launcher's texts as data, generated from strings.json: the selectable
// language codes and every string of every language.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zep {

struct LanguageCode {
    const char16_t* code;
    std::uint16_t langid;
};

struct EmbeddedString {
    std::uint16_t langid;
    unsigned id;
    const char16_t* text;
};

extern const LanguageCode kLanguageCodes[];
extern const std::size_t kLanguageCodeCount;
extern const EmbeddedString kEmbeddedStrings[];
extern const std::size_t kEmbeddedStringCount;

// The LANGID of the copy of the texts that `code` selects (compared exactly,
// case included); nullopt for any other code.
inline std::optional<std::uint16_t> findLanguage(std::u16string_view code) {
    for (std::size_t i = 0; i < kLanguageCodeCount; ++i) {
        if (std::u16string_view(kLanguageCodes[i].code) == code) return kLanguageCodes[i].langid;
    }
    return std::nullopt;
}

}  // namespace zep
