// Taking the help address out of a notice body, with bodies of the tests' own.

#include <gtest/gtest.h>

#include "notice/notice_text.h"
#include "tests/support/anchor_oracle.h"

namespace zep::notice {
namespace {

struct AnchorCase {
    std::u16string body;
    bool found;
    std::u16string text;     // the body afterwards
    std::u16string helpUrl;  // "before" when it must stay as it was
};

TEST(ExtractHelpAnchor, ReplacesTheAnchorByItsLinkTextAndTakesTheAddress) {
    const AnchorCase cases[] = {
        {u"See <a href=\"http://h/p\">the page</a>.", true, u"See the page.", u"http://h/p"},
        {u"<a href=\"http://h\">all</a>", true, u"all", u"http://h"},
        // Attributes after the address are dropped with the tag.
        {u"A <a href=\"http://h\" target=\"x\">go</a> B", true, u"A go B", u"http://h"},
        // Characters outside the BMP, unpaired surrogates included, pass unchanged.
        {u"\U0001F697 <a href=\"http://h/\U0001F6A6\">\U0001F6A5</a> \xD800.", true, u"\U0001F697 \U0001F6A5 \xD800.",
         u"http://h/\U0001F6A6"},
    };
    for (const auto& [body, found, text, helpUrl] : cases) {
        std::u16string notice = body, address = u"before";
        EXPECT_EQ(extractHelpAnchor(notice, address), found);
        EXPECT_EQ(notice, text);
        EXPECT_EQ(address, helpUrl);
    }
}

TEST(ExtractHelpAnchor, OneMatchRunsFromTheFirstOpeningTagToTheLastClosingTag) {
    const AnchorCase cases[] = {
        // Two anchors: the first address, the last link text, one replacement.
        {u"A <a href=\"http://one\">first</a> B <a href=\"http://two\">second</a> C", true, u"A second C",
         u"http://one"},
        // A '>' in the link text: only what follows the last '>' survives.
        {u"X <a href=\"http://h\">a > b</a>.", true, u"X  b.", u"http://h"},
        {u"X <a href=\"http://h\">1>2>3</a>", true, u"X 3", u"http://h"},
    };
    for (const auto& [body, found, text, helpUrl] : cases) {
        std::u16string notice = body, address = u"before";
        EXPECT_EQ(extractHelpAnchor(notice, address), found);
        EXPECT_EQ(notice, text);
        EXPECT_EQ(address, helpUrl);
    }
}

TEST(ExtractHelpAnchor, WithoutACompleteAnchorNothingChanges) {
    const std::u16string bodies[] = {
        u"",
        u"No link here.",
        u"<A HREF=\"http://h\">x</A>",      // the tags are case-sensitive
        u"<a href=\"http://h\">x",          // never closed
        u"<a href=\"\">empty address</a>",  // an address needs one character
        u"<a href=\"http://h\"></a>",       // so does the link text
        u"<a href='http://h'>x</a>",
    };
    for (const std::u16string& body : bodies) {
        std::u16string notice = body, address = u"before";
        EXPECT_FALSE(extractHelpAnchor(notice, address));
        EXPECT_EQ(notice, body);
        EXPECT_EQ(address, u"before");
    }
}

TEST(ExtractHelpAnchor, FindsWhatTheRegularExpressionFinds) {
    using namespace std::string_literals;
    const std::u16string bodies[] = {
        // Line terminators end what an anchor may span: in the address, in the
        // link text, between the tags, and between two anchors.
        u"<a href=\"http://h\nx\">t</a>",
        u"<a href=\"http://h\">t\rx</a>",
        u"<a href=\"http://h\">\u2028t</a>",
        u"<a href=\"h\"\u2029>t</a>",
        u"<a href=\"one\">1</a>\n<a href=\"two\">2</a>",
        u"<a href=\"one\">1\r\n<a href=\"two\">2</a>",
        u"<a href=\"a\">\n</a> <a href=\"b\">c</a>",
        u"<a href=\"x\n<a href=\"y\">z</a>",
        u"\u2028<a href=\"h\">t</a>\u2029",
        // Quotes: the address ends at the first quote after its first unit.
        u"<a href=\"a\"b\">t</a>",
        u"<a href=\"\"\">t</a>",
        u"<a href=\"\"\"\">t</a>",
        u"<a href=\"h\">t\"</a>",
        u"<a href=\">\">t</a>",
        u"<a href=\"h>\">t</a>",
        // '>' next to the closing tag, in it, and only there.
        u"<a href=\"h\">t></a>",
        u"<a href=\"h\">></a>",
        u"<a href=\"h\">>></a>",
        u"<a href=\"h\"></a></a>",
        u"<a href=\"h\">t</a></a>",
        u"<a href=\"h\"</a>",
        u"<a href=\"h\">t</a",
        u"<a href=\"h\" >",
        // Closing tags before the opening one, and openings inside others.
        u"</a> <a href=\"h\">t",
        u"x</a><a href=\"h\">t</a>",
        u"<a href=\"<a href=\"h\">t</a>",
        u"<a href=\"<a href=\"h\"\n>t</a>",
        u"<a href=<a href=\"h\">t</a>",
        u"<a <a href=\"h\">t</a>",
        u"<a href=\"h\">t</a><a href=\"",
        u"<a href=\"h\n<a href=\"\"</a>",
        // NULs and lone surrogates are units like any other.
        u"<a href=\"h\0\">t\0</a>"s,
        u"<a href=\"\xDC00\">\xD800</a>\xDBFF",
    };
    for (const std::u16string& body : bodies) {
        std::u16string text = body, address = u"before";
        std::u16string expectedText = body, expectedAddress = u"before";
        const bool expected = test::extractHelpAnchorByRegex(expectedText, expectedAddress);
        EXPECT_EQ(extractHelpAnchor(text, address), expected) << testing::PrintToString(body);
        EXPECT_EQ(text, expectedText) << testing::PrintToString(body);
        EXPECT_EQ(address, expectedAddress) << testing::PrintToString(body);
    }
}

}  // namespace
}  // namespace zep::notice
