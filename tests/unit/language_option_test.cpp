// The -Duser.language= option: which language it selects, and the notice body
// and help address it prepares.

#include <algorithm>
#include <vector>

#include "notice/language_table.h"
#include "platform/strings.h"
#include "tests/support/expected_texts.h"
#include "tests/support/launcher_fixture.h"

namespace zep::test {
namespace {

class LanguageOption : public LauncherTest {
protected:
    void apply(std::u16string_view option) { launcher.applyLanguageOption(std::u16string(option).c_str()); }

    void applyCode(std::u16string_view code) { apply(u"-Duser.language=" + std::u16string(code)); }

    // The thread's language, as the notice title it now loads shows it.
    static std::u16string threadTitle() { return platform::loadString(106); }
};

TEST_F(LanguageOption, EachCodeSelectsItsLanguageAndPreparesItsNotice) {
    for (const ExpectedLanguage& language : kExpectedLanguages) {
        Launcher fresh;
        fresh.applyLanguageOption((u"-Duser.language=" + std::u16string(language.code)).c_str());
        EXPECT_EQ(fresh.noticeText, expectedNotice(language)) << "code " << language.langid;
        EXPECT_EQ(fresh.helpUrl, expectedHelpUrl(language)) << "code " << language.langid;
        EXPECT_EQ(threadTitle(), language.title) << "code " << language.langid;
        EXPECT_EQ(currentLanguage, language.code);
    }
}

TEST_F(LanguageOption, LinkTextsKeepWhatSurroundsThem) {
    applyCode(u"es");
    EXPECT_TRUE(launcher.noticeText.ends_with(u"Gridmere .")) << "the Spanish link text's trailing blank stays";
    applyCode(u"ja");
    EXPECT_NE(launcher.noticeText.find(u"「Gridmere の Java 要件」"), std::u16string::npos);
}

TEST_F(LanguageOption, AnyCaseOfEnMeansTheEnglishCopy) {
    const ExpectedLanguage& english = expectedLanguage(u"en_GB");
    for (const std::u16string_view value : {u"en", u"EN", u"En", u"eN"}) {
        applyCode(u"fr");
        applyCode(value);
        EXPECT_EQ(currentLanguage, u"en_GB");
        EXPECT_EQ(threadTitle(), english.title);
        EXPECT_EQ(launcher.noticeText, expectedNotice(english));
        EXPECT_EQ(launcher.helpUrl, expectedHelpUrl(english));
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
        launcher.noticeText = u"earlier";
        launcher.helpUrl = u"earlier";
        applyCode(value);
        EXPECT_EQ(currentLanguage, value) << "kept as given";
        EXPECT_EQ(threadTitle(), kept.title) << "after " << kept.langid;
        EXPECT_EQ(launcher.noticeText, expectedNotice(kept)) << "after " << kept.langid;
        EXPECT_EQ(launcher.helpUrl, expectedHelpUrl(kept)) << "after " << kept.langid;
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
        EXPECT_EQ(launcher.noticeText, expectedNotice(expectedLanguage(code)));
    }
}

TEST_F(LanguageOption, OtherOptionsChangeNothing) {
    const ExpectedLanguage& french = expectedLanguage(u"fr");
    for (const std::u16string_view option :
         {u"-Duser.languages=de", u"-Duser.language.format=x", u"-Duser.language", u"-Duser.languag=de",
          u"-Xuser.language=de", u"-Duser.country=DE", u"-D", u""}) {
        applyCode(u"fr");
        launcher.noticeText = u"earlier";
        launcher.helpUrl = u"earlier";
        apply(option);
        EXPECT_EQ(launcher.noticeText, u"earlier");
        EXPECT_EQ(launcher.helpUrl, u"earlier");
        EXPECT_EQ(currentLanguage, u"fr");
        EXPECT_EQ(threadTitle(), french.title);
    }
}

TEST_F(LanguageOption, WithoutALanguageOptionTheNoticeKeepsItsDefaults) {
    parse({u"-Dfile.encoding=UTF-8", u"zep", u"-Xmx1g", u"-Duser.region=DE"});
    EXPECT_EQ(launcher.noticeText, u"");
    EXPECT_EQ(launcher.helpUrl, kExpectedDefaultHelpUrl);
    EXPECT_TRUE(launcher.helpUrl.ends_with(u"-enu"));
}

TEST_F(LanguageOption, TheOptionIsPreparedAndStillHandedToTheJvm) {
    parse({u"-Duser.language=de", u"zep", u"-Duser.language=xx"});
    EXPECT_EQ(options(), (std::vector<std::string>{"-Duser.language=de", "-Duser.language=xx"}));
    EXPECT_EQ(launcher.noticeText, expectedNotice(expectedLanguage(u"de")));
    EXPECT_EQ(launcher.helpUrl, expectedHelpUrl(expectedLanguage(u"de")));
    EXPECT_EQ(stderrText.text(), "") << "a language option is never reported";
}

TEST(LanguageTable, HoldsExactlyTheNineCodes) {
    std::vector<std::pair<std::u16string, std::uint16_t>> expected;
    for (const ExpectedLanguage& language : kExpectedLanguages) expected.emplace_back(language.code, language.langid);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ((std::vector<std::pair<std::u16string, std::uint16_t>>(LanguageTable.begin(), LanguageTable.end())),
              expected);
}

}  // namespace
}  // namespace zep::test
