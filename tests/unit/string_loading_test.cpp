// Loading the launcher's texts by language, and the string-table format that
// the loader reads.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/string_entry.h"
#include "platform/strings.h"
#include "tests/support/expected_texts.h"
#include "tests/support/language_state.h"

namespace zep::test {
namespace {

using platform::loadString;
using platform::setThreadUiLanguage;

class LoadString : public LanguageStateTest {};

TEST_F(LoadString, EveryTextOfEveryLanguageIsTheExpectedOne) {
    for (const ExpectedLanguage& language : kExpectedLanguages) {
        setThreadUiLanguage(language.langid);
        const std::pair<unsigned, std::u16string> texts[] = {
            {103, std::u16string(kExpectedProductName)},
            {106, std::u16string(language.title)},
            {107, expectedBody(language)},
            {108, std::u16string(language.ok)},
            {109, std::u16string(kExpectedLauncherName)},
            {110, std::u16string(language.help)},
        };
        for (const auto& [id, text] : texts) {
            EXPECT_EQ(loadString(id), text) << "LANGID " << language.langid << ", id " << id;
        }
    }
}

TEST_F(LoadString, NotableEntriesAndEntriesWithoutAnyCopy) {
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
        setThreadUiLanguage(langid);
        EXPECT_EQ(loadString(id), text) << "LANGID " << langid << ", id " << id;
    }
}

TEST_F(LoadString, ALanguageWithoutACopyGetsOneOfTheNine) {
    std::vector<std::u16string> titles;
    for (const ExpectedLanguage& language : kExpectedLanguages) titles.emplace_back(language.title);
    // English (UK), Spanish (Spain), neutral.
    for (const std::uint16_t langid : {std::uint16_t{2057}, std::uint16_t{3082}, std::uint16_t{0}}) {
        setThreadUiLanguage(langid);
        const std::u16string title = loadString(106);
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
