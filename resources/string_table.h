#pragma once
// The launcher's texts as data, generated from strings.json: the selectable
// language codes and every string of every language.

#include <cstddef>
#include <cstdint>

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

}  // namespace zep
