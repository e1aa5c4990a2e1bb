// What a launch is asked to do, from the command line and the options files:
// one rule for what an argument is, and one value that says it all.

#include "platform/text.h"
#include "tests/support/launcher_fixture.h"

namespace zep::test {
namespace {

using Texts = std::vector<std::u16string>;
using Kind = ParsedOption::Kind;

constexpr const char* kLaneView = "com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX";

TEST(ParseArguments, CollectsOptionsWhereverTheyStandInCommandLineOrder) {
    const ParsedLaunch parsed = parse({u"-Da=1", u"-Xmx64m", u"cfs", u"in.txt", u"-Db=2", u"out.txt", u"-Xss1m"});
    EXPECT_EQ(textsOf(parsed), (Texts{u"-Da=1", u"-Xmx64m", u"-Db=2", u"-Xss1m"}));
    EXPECT_EQ(parsed.programArgs, (Texts{u"in.txt", u"out.txt"}));
    EXPECT_EQ(parsed.mainClass, "com/quorvane/gridmere/traffic/classic/ui/x/CityFlowSimulator");
    EXPECT_EQ(warningsOf(parsed), "");
}

TEST(ParseArguments, MarkersAloneAreOptionsAndLowerCaseMarkersAreNot) {
    const ParsedLaunch parsed = parse({u"-D", u"-X", u"zep", u"-d", u"-x", u"-Dy"});
    EXPECT_EQ(textsOf(parsed), (Texts{u"-D", u"-X", u"-Dy"}));
    EXPECT_EQ(parsed.programArgs, (Texts{u"-d", u"-x"}));
    EXPECT_TRUE(parse({u"-dfoo=1", u"zep"}).invalidCommand()) << "nor in command position";
}

TEST(ParseArguments, EachCommandWordSelectsItsEntryClass) {
    const std::pair<std::u16string, std::string> table[] = {
        {u"zep", "com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX"},
        {u"cfs", "com/quorvane/gridmere/traffic/classic/ui/x/CityFlowSimulator"},
        {u"ls", "com/quorvane/gridmere/traffic/classic/ui/x/CatalogRuns"},
        {u"createmodel", "com/quorvane/gridmere/traffic/classic/ui/analysis/ModelBuildWorker"},
        {u"animation", "com/quorvane/gridmere/traffic/classic/ui/analysis/PlaybackWorker"},
    };
    for (const auto& [word, mainClass] : table) {
        const ParsedLaunch parsed = parse({word});
        EXPECT_EQ(parsed.mainClass, mainClass);
        EXPECT_FALSE(parsed.invalidCommand());
        EXPECT_TRUE(parsed.programArgs.empty());
    }
}

TEST(ParseArguments, CommandWordsAreExactAndCaseSensitive) {
    for (const std::u16string word : {u"ZEP", u"Zep", u"zep ", u" zep", u"zepx", u"l", u"createModel", u""}) {
        const ParsedLaunch parsed = parse({word});
        EXPECT_TRUE(parsed.invalidCommand());
        EXPECT_TRUE(parsed.mainClass.empty());
    }
}

TEST(ParseArguments, LaterCommandWordsAndEmptyArgumentsAreProgramArguments) {
    const ParsedLaunch parsed = parse({u"zep", u"cfs", u"", u"zep", u"ZEP"});
    EXPECT_EQ(parsed.mainClass, kLaneView);
    EXPECT_EQ(parsed.programArgs, (Texts{u"cfs", u"", u"zep", u"ZEP"}));
}

TEST(ParseArguments, InvalidCommandEndsTheWalkAtOnce) {
    const ParsedLaunch parsed = parse({u"-Da=1", u"bogus", u"-Djava.class.path=x", u"-Db=2", u"zep"});
    EXPECT_TRUE(parsed.invalidCommand());
    EXPECT_EQ(parsed.commandWord, u"bogus");
    EXPECT_EQ(warningsOf(parsed), "") << "arguments after the invalid command are not examined";
    EXPECT_EQ(textsOf(parsed), (Texts{u"-Da=1"}));
}

TEST(ParseArguments, NoArgumentsOrOnlyOptionsLeaveTheMainClassEmpty) {
    EXPECT_FALSE(parse({}).commandWord);
    const ParsedLaunch parsed = parse({u"-Da", u"-Xb"});
    EXPECT_FALSE(parsed.commandWord);
    EXPECT_FALSE(parsed.invalidCommand());
    EXPECT_TRUE(parsed.mainClass.empty());
    EXPECT_EQ(textsOf(parsed), (Texts{u"-Da", u"-Xb"}));
}

// --- refused options -------------------------------------------------------

TEST(ParseArguments, RefusedPrefixesWarnAndDropTheOptionInAnyCase) {
    ParsedLaunch parsed = parse({u"-Djava.class.path=my.jar", u"-Djava.library.path=lib", u"zep", u"-Dkept=1"});
    EXPECT_EQ(warningsOf(parsed), "Class path cannot be changed.Library path cannot be changed.");
    EXPECT_EQ(textsOf(parsed), (Texts{u"-Dkept=1"}));
    parsed = parse({u"-DJAVA.CLASS.PATH=x", u"-Djava.Library.Path=y", u"ls", u"-djava.class.path=z"});
    EXPECT_EQ(warningsOf(parsed), "Class path cannot be changed.Library path cannot be changed.");
    EXPECT_EQ(textsOf(parsed, Kind::Refused), (Texts{u"-DJAVA.CLASS.PATH=x", u"-Djava.Library.Path=y"}));
    EXPECT_EQ(parsed.programArgs, (Texts{u"-djava.class.path=z"})) << "a lower-case marker makes no option";
}

TEST(ParseArguments, BarePrefixesAreRefusedAndShorterOnesAreNot) {
    const ParsedLaunch parsed =
        parse({u"-Djava.class.path=", u"-Djava.library.path=", u"-Djava.class.path", u"-Djava.library.path"});
    EXPECT_EQ(warningsOf(parsed), "Class path cannot be changed.Library path cannot be changed.");
    EXPECT_EQ(textsOf(parsed), (Texts{u"-Djava.class.path", u"-Djava.library.path"}));
}

// --- options files -----------------------------------------------------------

TEST(ParseArguments, InstallationThenUserThenCommandLineWithTheirSources) {
    const std::vector<OptionsFile> files = {
        {u"/opt/zep/zep.vmoptions", {{u"-Xmx1g", 1}, {u"Xmx2g", 2}, {u"-Djava.class.path=x", 4}}},
        {u"/home/u/.config/gridmere/zep.vmoptions", {{u"--add-opens=java.base/java.lang=ALL-UNNAMED", 1}}},
    };
    const ParsedLaunch parsed = parse({u"-Xmx3g", u"zep", u"--enable-preview"}, files);
    EXPECT_EQ(textsOf(parsed), (Texts{u"-Xmx1g", u"--add-opens=java.base/java.lang=ALL-UNNAMED", u"-Xmx3g"}));
    EXPECT_EQ(parsed.programArgs, (Texts{u"--enable-preview"})) << "on the command line only -D and -X are options";
    EXPECT_EQ(textsOf(parsed, Kind::Ignored), (Texts{u"Xmx2g"}));
    EXPECT_EQ(warningsOf(parsed), "Ignored a line of an options file.Class path cannot be changed.");
    ASSERT_EQ(parsed.options.size(), 5u);
    EXPECT_EQ(parsed.options[2].file, u"/opt/zep/zep.vmoptions");
    EXPECT_EQ(parsed.options[2].line, 4u);
    EXPECT_EQ(parsed.options[4].file, u"") << "the command line";
}

// --- text -------------------------------------------------------------------

TEST(ParseArguments, ProgramArgumentsKeepTheirUtf16) {
    // Options become bytes in the runtime's encoding: see the platform's own tests.
    const ParsedLaunch parsed = parse({u"zep", u"\u00e9\u65e5\U0001D11E"});
    EXPECT_EQ(parsed.programArgs, (Texts{{0x00E9, 0x65E5, 0xD834, 0xDD1E}}));
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
