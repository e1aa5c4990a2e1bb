// Option text in the code page a runtime reads: no look-alikes outside UTF-8.

#include <gtest/gtest.h>

#include "platform/runtime_encoding.h"
#include "platform/windows/code_page.h"

namespace zep::platform {
namespace {

TEST(CodePage, CharactersTheCodePageLacksBecomeQuestionMarksNotLookAlikes) {
    // U+0142 would map to 'l', the fullwidth solidus to '/', the fullwidth
    // quotation mark to '"', and U+2010 to '-' with best fit.
    EXPECT_EQ(toCodePage(u"-Dx=\u00e9\u0142\uff0f\uff02\u2010", 1252), "-Dx=\xE9????");
    EXPECT_EQ(toCodePage(u"-Dx=\u0436", 1251), "-Dx=\xE6");
    EXPECT_EQ(toCodePage(u"", 1252), "");
}

TEST(CodePage, Utf8AsTheSystemsCodePageIsUtf8) {
    EXPECT_EQ(toCodePage(u"-Dx=\u00e9\u65e5\U0001D11E", 65001), "-Dx=\xC3\xA9\xE6\x97\xA5\xF0\x9D\x84\x9E");
    EXPECT_EQ(toCodePage(std::u16string{u'a', 0xD800}, 65001), "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace zep::platform
