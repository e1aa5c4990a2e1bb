#include <stdexcept>

#include "platform/text.h"
#include "tests/support/launcher_fixture.h"

namespace zep::test {
namespace {

using Strings = std::vector<std::string>;
using Args = std::vector<std::u16string>;

constexpr const char* kLaneView = "com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX";

class ParseArguments : public LauncherTest {};

TEST_F(ParseArguments, CollectsOptionsWhereverTheyStandInCommandLineOrder) {
    parse({u"-Da=1", u"-Xmx64m", u"cfs", u"in.txt", u"-Db=2", u"out.txt", u"-Xss1m"});
    EXPECT_EQ(options(), (Strings{"-Da=1", "-Xmx64m", "-Db=2", "-Xss1m"}));
    EXPECT_EQ(launcher.programArgs, (Args{u"in.txt", u"out.txt"}));
    EXPECT_EQ(launcher.mainClass, "com/quorvane/gridmere/traffic/classic/ui/x/CityFlowSimulator");
    EXPECT_EQ(stderrText.text(), "");
}

TEST_F(ParseArguments, MarkersAloneAreOptionsAndLowerCaseMarkersAreNot) {
    parse({u"-D", u"-X", u"zep", u"-d", u"-x", u"-Dy"});
    EXPECT_EQ(options(), (Strings{"-D", "-X", "-Dy"}));
    EXPECT_EQ(launcher.programArgs, (Args{u"-d", u"-x"}));
}

TEST_F(ParseArguments, LowerCaseMarkerInCommandPositionIsAnInvalidCommand) {
    EXPECT_EQ(runtimeError([&] { parse({u"-dfoo=1", u"zep"}); }), "Invalid command.");
    EXPECT_TRUE(launcher.jvmOptions.records().empty());
}

TEST_F(ParseArguments, EachCommandWordSelectsItsEntryClass) {
    const std::pair<std::u16string, std::string> table[] = {
        {u"zep", "com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX"},
        {u"cfs", "com/quorvane/gridmere/traffic/classic/ui/x/CityFlowSimulator"},
        {u"ls", "com/quorvane/gridmere/traffic/classic/ui/x/CatalogRuns"},
        {u"createmodel", "com/quorvane/gridmere/traffic/classic/ui/analysis/ModelBuildWorker"},
        {u"animation", "com/quorvane/gridmere/traffic/classic/ui/analysis/PlaybackWorker"},
    };
    for (const auto& [word, mainClass] : table) {
        Launcher fresh;
        const char16_t* argv[] = {u"zep", word.c_str(), nullptr};
        fresh.parseArguments(2, argv);
        EXPECT_EQ(fresh.mainClass, mainClass);
        EXPECT_TRUE(fresh.programArgs.empty());
    }
}

TEST_F(ParseArguments, CommandWordsAreExactAndCaseSensitive) {
    for (const std::u16string word : {u"ZEP", u"Zep", u"zep ", u" zep", u"zepx", u"l", u"createModel", u""}) {
        Launcher fresh;
        const char16_t* argv[] = {u"zep", word.c_str(), nullptr};
        EXPECT_EQ(runtimeError([&] { fresh.parseArguments(2, argv); }), "Invalid command.");
        EXPECT_TRUE(fresh.mainClass.empty());
    }
}

TEST_F(ParseArguments, LaterCommandWordsAndEmptyArgumentsAreProgramArguments) {
    parse({u"zep", u"cfs", u"", u"zep", u"ZEP"});
    EXPECT_EQ(launcher.mainClass, kLaneView);
    EXPECT_EQ(launcher.programArgs, (Args{u"cfs", u"", u"zep", u"ZEP"}));
}

TEST_F(ParseArguments, InvalidCommandEndsTheWalkAtOnce) {
    EXPECT_EQ(runtimeError([&] {
                  parse({u"-Da=1", u"bogus", u"-Djava.class.path=x", u"-Db=2", u"zep"});
              }),
              "Invalid command.");
    EXPECT_EQ(stderrText.text(), "") << "arguments after the invalid command are not examined";
    EXPECT_EQ(options(), (Strings{"-Da=1"})) << "what came before stays for teardown to free";
    EXPECT_TRUE(launcher.mainClass.empty());
}

TEST_F(ParseArguments, NoArgumentsOrOnlyOptionsLeaveTheMainClassEmpty) {
    parse({});
    EXPECT_TRUE(launcher.mainClass.empty());
    EXPECT_TRUE(launcher.jvmOptions.records().empty());
    parse({u"-Da", u"-Xb"});
    EXPECT_TRUE(launcher.mainClass.empty());
    EXPECT_TRUE(launcher.programArgs.empty());
    EXPECT_EQ(options(), (Strings{"-Da", "-Xb"}));
}

// --- refused options -------------------------------------------------------

TEST_F(ParseArguments, RefusedPrefixesWarnAndDropTheOption) {
    parse({u"-Djava.class.path=my.jar", u"-Djava.library.path=lib", u"zep", u"-Dkept=1"});
    EXPECT_EQ(stderrText.text(), "Class path cannot be changed.Library path cannot be changed.");
    EXPECT_EQ(options(), (Strings{"-Dkept=1"}));
}

TEST_F(ParseArguments, RefusedPrefixesIgnoreTheCaseOfLetters) {
    parse({u"-DJAVA.CLASS.PATH=x", u"-Djava.Library.Path=y", u"ls", u"-djava.class.path=z"});
    EXPECT_EQ(stderrText.text(), "Class path cannot be changed.Library path cannot be changed.");
    EXPECT_TRUE(launcher.jvmOptions.records().empty());
    EXPECT_EQ(launcher.programArgs, (Args{u"-djava.class.path=z"})) << "a lower-case marker makes no option";
}

TEST_F(ParseArguments, BarePrefixesAreRefusedAndShorterOnesAreNot) {
    parse({u"-Djava.class.path=", u"-Djava.library.path=", u"-Djava.class.path", u"-Djava.library.path"});
    EXPECT_EQ(stderrText.text(), "Class path cannot be changed.Library path cannot be changed.");
    EXPECT_EQ(options(), (Strings{"-Djava.class.path", "-Djava.library.path"}));
}

TEST_F(ParseArguments, RefusedPrefixMustBeAnOptionFirst) {
    parse({u"zep", u"-xjava.class.path=a"});
    EXPECT_EQ(stderrText.text(), "");
    EXPECT_EQ(launcher.programArgs, (Args{u"-xjava.class.path=a"}));
}

// --- text -------------------------------------------------------------------

TEST_F(ParseArguments, ProgramArgumentsKeepTheirUtf16) {
    // Options become bytes in the runtime's encoding: see the platform's own tests.
    parse({u"zep", u"\u00e9\u65e5\U0001D11E"});
    ASSERT_EQ(launcher.programArgs.size(), 1u);
    EXPECT_EQ(launcher.programArgs[0], (std::u16string{0x00E9, 0x65E5, 0xD834, 0xDD1E}));
}

// --- hasPrefixIgnoreCase ----------------------------------------------------

TEST(HasPrefixIgnoreCase, ComparesOnlyAsciiLettersWithoutCase) {
    EXPECT_TRUE(platform::hasPrefixIgnoreCase(u"-DJaVa.ClAsS.pAtH=anything", u"-Djava.class.path="));
    EXPECT_TRUE(platform::hasPrefixIgnoreCase(u"-Djava.class.path=", u"-Djava.class.path="));
    EXPECT_FALSE(platform::hasPrefixIgnoreCase(u"-Djava.class.path", u"-Djava.class.path="));
    EXPECT_FALSE(platform::hasPrefixIgnoreCase(u"", u"-D"));
    EXPECT_TRUE(platform::hasPrefixIgnoreCase(u"anything", u""));
    EXPECT_FALSE(platform::hasPrefixIgnoreCase(u"-D\u00C4", u"-D\u00E4")) << "no case folding outside ASCII";
    EXPECT_FALSE(platform::hasPrefixIgnoreCase(u"-D@", u"-D`")) << "only letters fold";
    EXPECT_FALSE(platform::hasPrefixIgnoreCase(u"-D[", u"-D{"));
}

}  // namespace
}  // namespace zep::test
