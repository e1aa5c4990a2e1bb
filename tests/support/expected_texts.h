#pragma once
// The launcher's texts as the tests expect them. Their pieces come from
// resources/strings.json, written out at build time (expected_text_table.h);
// the bodies and help addresses are put together here, as the string table
// must hold them.

#include <stdexcept>
#include <string>
#include <string_view>

#include "tests/support/expected_text_table.h"

namespace zep::test {

inline std::u16string expectedHelpUrl(const ExpectedLanguage& language) {
    return std::u16string(kExpectedHelpAddressStem) + std::u16string(language.helpTag);
}

// Id 107 as stored, anchor included.
inline std::u16string expectedBody(const ExpectedLanguage& language) {
    return std::u16string(language.before) + u"<a href=\"" + expectedHelpUrl(language) + u"\">" +
           std::u16string(language.link) + u"</a>" + std::u16string(language.after);
}

// Id 107 once the anchor has given way to its link text.
inline std::u16string expectedNotice(const ExpectedLanguage& language) {
    return std::u16string(language.before) + std::u16string(language.link) + std::u16string(language.after);
}

inline const ExpectedLanguage& expectedLanguage(std::u16string_view code) {
    for (const ExpectedLanguage& language : kExpectedLanguages) {
        if (language.code == code) return language;
    }
    throw std::out_of_range("no expected texts for that code");
}

}  // namespace zep::test
