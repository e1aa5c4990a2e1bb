#include <gtest/gtest.h>

#include "platform/text.h"

namespace zep::platform {
namespace {

struct Decoding {
    std::string bytes;
    std::u16string text;
};

TEST(Utf8ToUtf16, DecodesWellFormedText) {
    const Decoding cases[] = {
        {"", u""},
        {"zep cfs", u"zep cfs"},
        {"\xC3\xA9", u"\u00E9"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
        {"\xF0\x9D\x84\x9E", u"\U0001D11E"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"\xEF\xBF\xBD", u"\uFFFD"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(utf8ToUtf16(bytes), text) << bytes;
}

TEST(Utf8ToUtf16, ReplacesEachMaximalIllFormedSubsequence) {
    const Decoding cases[] = {
        {"\x80", u"\uFFFD"},  // stray continuation byte
        {"a\xFF"
         "b",
         u"a\uFFFDb"},                                      // byte that never occurs
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong lead: two stray bytes
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},            // overlong three-byte form
        {"\xED\xA0\x80", u"\uFFFD"},                        // encoded surrogate, as java reads it
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"\xE6\x97", u"\uFFFD"},                            // cut off at the end
        {"\xE6\x97z", u"\uFFFDz"},                          // cut off by an ASCII byte
        {"\xF0\x9D\x84z\xC3", u"\uFFFDz\uFFFD"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(utf8ToUtf16(bytes), text) << testing::PrintToString(bytes);
}

TEST(Utf16ToUtf8, EncodesLikeWideCharToMultiByteWithCpUtf8) {
    const Decoding cases[] = {
        {"", u""},
        {"-Dx=1", u"-Dx=1"},
        {"\xC3\xA9\xE6\x97\xA5", u"\u00E9\u65E5"},
        {"\xF0\x9D\x84\x9E", u"\U0001D11E"},
        {"\xEF\xBF\xBD", std::u16string{0xD834}},  // high surrogate alone at the end
        {"\xEF\xBF\xBD"
         "a",
         std::u16string{0xDD1E, u'a'}},                                // low surrogate alone
        {"\xEF\xBF\xBD\xEF\xBF\xBD", std::u16string{0xDD1E, 0xD834}},  // pair in the wrong order
        {"\xEF\xBF\xBD\xF0\x9D\x84\x9E", std::u16string{0xD834, 0xD834, 0xDD1E}},
        {std::string("\0", 1), std::u16string(1, u'\0')},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(utf16ToUtf8(text), bytes);
}

TEST(Utf16ToUtf8, RoundTripsEveryScalarValueOfTheTestedRanges) {
    for (char32_t cp : {0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        std::u16string text;
        if (cp < 0x10000) {
            text.push_back(static_cast<char16_t>(cp));
        } else {
            text.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
        EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(text)), text) << std::hex << static_cast<unsigned>(cp);
    }
}

// --- lossless decoding, for what names things on POSIX --------------------------

TEST(DecodeLossless, DecodesUtf8AndEscapesEveryByteOfWhatIsNot) {
    const Decoding cases[] = {
        {"gr\xC3\xBCn \xF0\x9D\x84\x9E", u"gr\u00FCn \U0001D11E"},
        {"caf\xE9", u"caf\xDCE9"},                                 // Latin-1
        {"\xE9\xFF", std::u16string{0xDCE9, 0xDCFF}},              // two stray bytes
        {"\xE6\x97z", std::u16string{0xDCE6, 0xDC97, u'z'}},       // a cut-off sequence, byte by byte
        {"\xED\xB2\x80", std::u16string{0xDCED, 0xDCB2, 0xDC80}},  // an encoded surrogate is no text
        {"\xC0\xAF", std::u16string{0xDCC0, 0xDCAF}},              // an overlong form
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(decodeLossless(bytes), text) << testing::PrintToString(bytes);
        EXPECT_EQ(encodeLossless(text), bytes) << testing::PrintToString(bytes);
    }
}

TEST(EncodeLossless, SurrogatesThatStandForNoByteBecomeReplacementCharacters) {
    EXPECT_EQ(encodeLossless(std::u16string{0xD800, u'x', 0xDC7F, 0xDD00}), "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(encodeLossless(std::u16string{0xD834, 0xDD1E, 0xDCE9}), "\xF0\x9D\x84\x9E\xE9");
}

TEST(DecodeLossless, EveryByteSequenceComesBackExactly) {
    std::string all;
    for (int first = 0; first < 256; ++first) {
        for (int second : {0x00, 0x41, 0x80, 0x9F, 0xA0, 0xBF, 0xC3, 0xED, 0xF4, 0xFF}) {
            all = {static_cast<char>(first), static_cast<char>(second), '\x80', '\xBF'};
            ASSERT_EQ(encodeLossless(decodeLossless(all)), all) << testing::PrintToString(all);
        }
    }
}

}  // namespace
}  // namespace zep::platform
