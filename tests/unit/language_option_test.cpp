// The -Duser.language= option: which language it selects, and the notice body
// and help address it prepares.

#include <vector>

#include "notice/notice_text.h"
#include "platform/localized_strings.h"
#include "resources/help_address.h"
#include "resources/string_table.h"
#include "tests/support/expected_texts.h"
#include "tests/support/launcher_fixture.h"

namespace zep::test {
namespace {

class LanguageOption : public ::testing::Test {
protected:
    void apply(std::u16string_view option) { notice::applyLanguageOption(option, notice); }

    void applyCode(std::u16string_view code) { apply(u"-Duser.language=" + std::u16string(code)); }

    // The notice's language, as the title it now loads shows it.
    std::u16string threadTitle() const { return platform::loadString(106, notice.language); }

    notice::NoticeText notice;  // as a launch starts
    std::u16string& noticeText = notice.body;
    std::u16string& helpUrl = notice.helpUrl;
};

TEST_F(LanguageOption, EachCodeSelectsItsLanguageAndPreparesItsNotice) {
    for (const ExpectedLanguage& language : kExpectedLanguages) {
        helpUrl = kDefaultHelpUrl;
        applyCode(language.code);
        EXPECT_EQ(noticeText, expectedNotice(language)) << "code " << language.langid;
        EXPECT_EQ(helpUrl, expectedHelpUrl(language)) << "code " << language.langid;
        EXPECT_EQ(threadTitle(), language.title) << "code " << language.langid;
    }
}

TEST_F(LanguageOption, LinkTextsKeepWhatSurroundsThem) {
    applyCode(u"es");
    EXPECT_TRUE(noticeText.ends_with(u"Gridmere .")) << "the Spanish link text's trailing blank stays";
    applyCode(u"ja");
    EXPECT_NE(noticeText.find(u"「Gridmere の Java 要件」"), std::u16string::npos);
}

TEST_F(LanguageOption, AnyCaseOfEnMeansTheEnglishCopy) {
    const ExpectedLanguage& english = expectedLanguage(u"en_GB");
    for (const std::u16string_view value : {u"en", u"EN", u"En", u"eN"}) {
        applyCode(u"fr");
        applyCode(value);
        EXPECT_EQ(threadTitle(), english.title);
        EXPECT_EQ(noticeText, expectedNotice(english));
        EXPECT_EQ(helpUrl, expectedHelpUrl(english));
    }
}

TEST_F(LanguageOption, UnknownCodesKeepTheLanguageButPrepareTheBodyInIt) {
    struct Case {
        std::u16string_view before;  // the language selected first
        std::u16string_view value;
    };
    const Case cases[] = {
        {u"fr", u"DE"}, {u"fr", u"en_gb"}, {u"fr", u"en_US"}, {u"fr", u"eng"},
        {u"fr", u""},   {u"de", u"xx"},    {u"it", u" it"},   {u"it", u"e"},
    };
    for (const auto& [before, value] : cases) {
        const ExpectedLanguage& kept = expectedLanguage(before);
        applyCode(before);
        noticeText = u"earlier";
        helpUrl = u"earlier";
        applyCode(value);
        EXPECT_EQ(threadTitle(), kept.title) << "after " << kept.langid;
        EXPECT_EQ(noticeText, expectedNotice(kept)) << "after " << kept.langid;
        EXPECT_EQ(helpUrl, expectedHelpUrl(kept)) << "after " << kept.langid;
    }
}

TEST_F(LanguageOption, ThePrefixIgnoresTheCaseOfItsLetters) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"-DUSER.LANGUAGE=fr", u"fr"},
        {u"-DUser.Language=it", u"it"},
        {u"-Duser.language=ru", u"ru"},
    };
    for (const auto& [option, code] : cases) {
        applyCode(u"de");
        apply(option);
        EXPECT_EQ(threadTitle(), expectedLanguage(code).title) << "code " << expectedLanguage(code).langid;
        EXPECT_EQ(noticeText, expectedNotice(expectedLanguage(code)));
    }
}

TEST_F(LanguageOption, OtherOptionsChangeNothing) {
    const ExpectedLanguage& french = expectedLanguage(u"fr");
    for (const std::u16string_view option :
         {u"-Duser.languages=de", u"-Duser.language.format=x", u"-Duser.language", u"-Duser.languag=de",
          u"-Xuser.language=de", u"-Duser.country=DE", u"-D", u""}) {
        applyCode(u"fr");
        noticeText = u"earlier";
        helpUrl = u"earlier";
        apply(option);
        EXPECT_EQ(noticeText, u"earlier");
        EXPECT_EQ(helpUrl, u"earlier");
        EXPECT_EQ(threadTitle(), french.title);
    }
}

TEST_F(LanguageOption, WithoutALanguageOptionTheNoticeKeepsItsDefaults) {
    for (const std::u16string_view option : {u"-Dfile.encoding=UTF-8", u"-Xmx1g", u"-Duser.region=DE"}) apply(option);
    EXPECT_EQ(noticeText, u"");
    EXPECT_EQ(helpUrl, kExpectedDefaultHelpUrl);
    EXPECT_TRUE(helpUrl.ends_with(u"-enu"));
}

TEST_F(LanguageOption, TheOptionIsStillHandedToTheJvm) {
    const ParsedLaunch parsed = parse({u"-Duser.language=de", u"zep", u"-Duser.language=xx"});
    EXPECT_EQ(textsOf(parsed), (std::vector<std::u16string>{u"-Duser.language=de", u"-Duser.language=xx"}));
    EXPECT_EQ(warningsOf(parsed), "") << "a language option is never reported";
}

TEST(LanguageTable, HoldsExactlyTheNineCodes) {
    EXPECT_EQ(kLanguageCodeCount, 9u);
    for (const ExpectedLanguage& language : kExpectedLanguages) {
        EXPECT_EQ(findLanguage(language.code), language.langid) << "LANGID " << language.langid;
    }
    // Exact and case-sensitive: the "en" rule belongs to the option, not to the table.
    for (const std::u16string_view other : {u"en", u"EN", u"DE", u"en_gb", u"de ", u""}) {
        EXPECT_EQ(findLanguage(other), std::nullopt);
    }
}

}  // namespace
}  // namespace zep::test
