// Loading the launcher's texts by language, and the string-table format that
// the loader reads.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "notice/notice_text.h"
#include "platform/localized_strings.h"
#include "platform/string_entry.h"
#include "tests/support/expected_texts.h"

namespace zep::test {
namespace {

using platform::loadString;

TEST(LoadString, EveryTextOfEveryLanguageIsTheExpectedOne) {
    for (const ExpectedLanguage& language : kExpectedLanguages) {
        const std::pair<unsigned, std::u16string> texts[] = {
            {103, std::u16string(kExpectedProductName)},
            {106, std::u16string(language.title)},
            {107, expectedBody(language)},
            {108, std::u16string(language.ok)},
            {109, std::u16string(kExpectedLauncherName)},
            {110, std::u16string(language.help)},
        };
        for (const auto& [id, text] : texts) {
            EXPECT_EQ(loadString(id, language.langid), text) << "LANGID " << language.langid << ", id " << id;
        }
    }
}

// Written out here, not taken from strings.json as the table above is: a
// text broken there, or by its generator, fails this one.
TEST(LoadString, EachLanguageSaysWhatItsTranslationSays) {
    struct Written {
        std::uint16_t langid;
        std::u16string_view title, ok, help, bodyStart, helpUrl;
    };
    constexpr Written kWritten[] = {
        {10, u"No se ha encontrado Java Runtime", u"Aceptar", u"Ayuda", u"Para utilizar este",
         u"http://help.gridmere.example/gridmere-and-java-esp"},
        {1031, u"Java Runtime nicht gefunden", u"OK", u"Hilfe", u"Installieren Sie eine",
         u"http://help.gridmere.example/gridmere-and-java-deu"},
        {1033, u"Java Runtime Not Found", u"OK", u"Help", u"Please install a",
         u"http://help.gridmere.example/gridmere-and-java-eng"},
        {1036, u"Java Runtime introuvable", u"OK", u"Aide", u"Veuillez installer une",
         u"http://help.gridmere.example/gridmere-and-java-fra"},
        {1040, u"Impossibile trovare Java Runtime", u"OK", u"?", u"Installare un ambiente",
         u"http://help.gridmere.example/gridmere-and-java-ita"},
        {1041, u"Java Runtime \u304C\u898B\u3064\u304B\u308A\u307E\u305B\u3093", u"OK", u"\u30D8\u30EB\u30D7",
         u"\u3053\u306E\u30B7\u30DF\u30E5\u30EC\u30FC\u30B7\u30E7\u30F3",
         u"http://help.gridmere.example/gridmere-and-java-jpn"},
        {1046, u"Java Runtime n\u00E3o encontrado", u"OK", u"Ajuda", u"Instale um Java",
         u"http://help.gridmere.example/gridmere-and-java-ptb"},
        {1049, u"\u041D\u0435 \u0443\u0434\u0430\u043B\u043E\u0441\u044C \u043D\u0430\u0439\u0442\u0438 Java Runtime",
         u"\u041E\u041A", u"\u0421\u043F\u0440\u0430\u0432\u043A\u0430",
         u"\u0423\u0441\u0442\u0430\u043D\u043E\u0432\u0438\u0442\u0435",
         u"http://help.gridmere.example/gridmere-and-java-rus"},
        {2052, u"\u627E\u4E0D\u5230 Java Runtime", u"\u786E\u5B9A", u"\u5E2E\u52A9", u"\u8BF7\u5B89\u88C5",
         u"http://help.gridmere.example/gridmere-and-java-chs"},
    };
    for (const Written& written : kWritten) {
        EXPECT_EQ(loadString(106, written.langid), written.title) << "LANGID " << written.langid;
        EXPECT_EQ(loadString(108, written.langid), written.ok) << "LANGID " << written.langid;
        EXPECT_EQ(loadString(110, written.langid), written.help) << "LANGID " << written.langid;
        std::u16string body = loadString(107, written.langid);
        std::u16string helpUrl;
        EXPECT_TRUE(notice::extractHelpAnchor(body, helpUrl)) << "LANGID " << written.langid;
        EXPECT_TRUE(body.starts_with(written.bodyStart)) << "LANGID " << written.langid;
        EXPECT_EQ(helpUrl, written.helpUrl) << "LANGID " << written.langid;
    }
    EXPECT_EQ(kExpectedDefaultHelpUrl, u"http://help.gridmere.example/gridmere-and-java-enu");
}

TEST(LoadString, NotableEntriesAndEntriesWithoutAnyCopy) {
    struct Case {
        std::uint16_t langid;
        unsigned id;
        std::u16string text;
    };
    const Case cases[] = {
        {1040, 110, u"?"},             // the Italian Help label is one character
        {1049, 108, u"\u041E\u041A"},  // Cyrillic letters, not the Latin "OK"
        {1031, 108, u"OK"},
        {1033, 100, u""},  // in the block, but no language has a text for it
        {1041, 96, u""},
        {2052, 111, u""},
        {1036, 5000, u""},  // in a block that does not exist
    };
    for (const auto& [langid, id, text] : cases) {
        EXPECT_EQ(loadString(id, langid), text) << "LANGID " << langid << ", id " << id;
    }
}

TEST(LoadString, ALanguageWithoutACopyGetsOneOfTheNine) {
    std::vector<std::u16string> titles;
    for (const ExpectedLanguage& language : kExpectedLanguages) titles.emplace_back(language.title);
    // English (UK), Spanish (Spain), neutral.
    for (const std::uint16_t langid : {std::uint16_t{2057}, std::uint16_t{3082}, std::uint16_t{0}}) {
        const std::u16string title = loadString(106, langid);
        EXPECT_NE(std::find(titles.begin(), titles.end(), title), titles.end()) << "LANGID " << langid;
    }
}

// --- the string-table format -------------------------------------------------

// A block of sixteen entries; `texts` fills the first ones, the rest stay empty.
std::u16string block(std::initializer_list<std::u16string_view> texts) {
    std::u16string result;
    std::size_t count = 0;
    for (const std::u16string_view text : texts) {
        result.push_back(static_cast<char16_t>(text.size()));
        result.append(text);
        ++count;
    }
    result.append(16 - count, u'\0');
    return result;
}

TEST(StringBlockEntry, FindsAnEntryByItsPlaceInTheBlock) {
    const std::u16string data =
        block({u"zero", u"", u"", u"", u"", u"five", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"fifteen"});
    const std::pair<unsigned, std::optional<std::u16string_view>> cases[] = {
        {96, u"zero"},      {101, u"five"},      {111, u"fifteen"},
        {5, u"five"},       {100, std::nullopt},  // an empty entry is no text
        {97, std::nullopt},
    };
    for (const auto& [id, text] : cases) EXPECT_EQ(platform::stringBlockEntry(data, id), text) << "id " << id;
}

TEST(StringBlockEntry, ReadsNothingBeyondTheEndOfADamagedBlock) {
    const std::pair<std::u16string, unsigned> cases[] = {
        {u"", 96},
        {u"", 111},
        {std::u16string{1, u'a'}, 97},             // the block ends after its first entry
        {std::u16string{5, u'a', u'b'}, 96},       // a length longer than what follows
        {std::u16string{0xFFFF, u'a', 0, 0}, 97},  // a length that jumps past the end
        {std::u16string{0, 0, 3, u'a', u'b'}, 98},
    };
    for (const auto& [data, id] : cases) {
        EXPECT_EQ(platform::stringBlockEntry(data, id), std::nullopt) << "id " << id << ", " << data.size() << " units";
    }
    EXPECT_EQ(platform::stringBlockEntry(std::u16string{0, 0, 2, u'a', u'b'}, 98), u"ab") << "exactly at the end";
}

TEST(TextAsLoaded, KeepsWhatTheLoadBufferHoldsUpToTheFirstNul) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"", u""},
        {u"Hilfe", u"Hilfe"},
        {std::u16string(u"ab\0cd", 5), u"ab"},
        {std::u16string(1023, u'x'), std::u16string(1023, u'x')},
        {std::u16string(1024, u'x'), std::u16string(1023, u'x')},  // the last unit is the NUL's
        {std::u16string(5000, u'y'), std::u16string(1023, u'y')},
    };
    for (const auto& [entry, text] : cases) EXPECT_EQ(platform::textAsLoaded(entry), text) << entry.size() << " units";
}

}  // namespace
}  // namespace zep::test
