// The launcher on this machine's real OpenJDK, running the test archive's five
// entry classes (tests/e2e/zep.jar), whose behaviour the tests choose.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/text.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/trace_text.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;

// The JVM decodes -D values in the locale's encoding, ASCII when there is none.
// Run where the test archive is, zep.jar in e2e/, or else in the test
// programs' directory, which has none.
ProcessOptions onTheJdk(bool besideTheArchive = true) {
    ProcessOptions options;
    options.environment = {{u"QRVN_ZEP_JAVA_HOME", platform::utf8ToUtf16(ZEP_TEST_JDK_HOME)}, {u"LC_ALL", u"C.UTF-8"}};
    options.workingDirectory = testProgramDirectory();
    if (besideTheArchive) options.workingDirectory += u"/e2e";
    return options;
}

ProcessResult zep(const std::vector<std::u16string>& arguments) {
    return runProgram(zepExecutable(), arguments, onTheJdk());
}

TEST(EndToEnd, ArgumentsReachMainIntactAndInOrder) {
    const ProcessResult result = zep({u"zep", u"", u"a b", u"\U0001D11E", u"zep", u"cfs", u"-x", u"\u00fc\u65e5"});
    EXPECT_EQ(result.out,
              "argc=7\n"
              "arg[0]=\n"
              "arg[1]=0061 0020 0062\n"
              "arg[2]=d834 dd1e\n"
              "arg[3]=007a 0065 0070\n"
              "arg[4]=0063 0066 0073\n"
              "arg[5]=002d 0078\n"
              "arg[6]=00fc 65e5\n"
              "thread=main\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitCode, 0);
}

TEST(EndToEnd, NoArgumentsGiveAnEmptyArray) { EXPECT_EQ(zep({u"zep"}).out, "argc=0\nthread=main\n"); }

TEST(EndToEnd, OptionsReachTheMachineAndTheFixedPathsComeLast) {
    const ProcessResult result =
        zep({u"-Dzeptest.color=gr\u00fcn", u"zep", u"-Dzeptest.show=zeptest.color,java.class.path,java.library.path"});
    EXPECT_EQ(result.out,
              "argc=0\n"
              "prop zeptest.color=gr\xC3\xBCn\n"
              "prop java.class.path=zep.jar\n"
              "prop java.library.path=.\n"
              "thread=main\n");
}

TEST(EndToEnd, MainThatThrowsIsDescribedThenReported) {
    const ProcessResult result = zep({u"cfs", u"throw"});
    EXPECT_TRUE(
        result.err.starts_with("Exception in thread \"main\" java.lang.IllegalStateException: zeptest boom\n\tat "))
        << result.err;
    EXPECT_TRUE(result.err.ends_with("\nException occurred when calling main method.")) << result.err;
    EXPECT_EQ(result.exitCode, 1);
}

TEST(EndToEnd, NonDaemonThreadKeepsTheProcessUntilItEnds) {
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result = zep({u"cfs", u"thread", u"1500"});
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_EQ(result.out, "main returned\nworker done\n");
    EXPECT_EQ(result.exitCode, 0);
}

TEST(EndToEnd, SystemExitEndsTheProcessWithItsCode) {
    const ProcessResult result = zep({u"cfs", u"exit", u"3"});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "");
}

TEST(EndToEnd, EmptyMainCompletesSilently) {
    const ProcessResult result = zep({u"animation"});
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitCode, 0);
}

TEST(EndToEnd, EachFailureOfTheMachineHasItsMessage) {
    const struct {
        std::vector<std::u16string> arguments;
        std::string err;
    } table[] = {
        // The machine's own word comes first, then the launcher's.
        {{u"-Xfoo", u"zep"}, "Unrecognized option: -Xfoo\nCreate JVM failed."},
        {{u"createmodel"}, "Failed to load main class."},  // not in this archive
        {{u"ls"}, "Failed to find main method."},          // main(String), not main(String[])
        {{u"-Dx=1"}, "Main class invalid."},
    };
    for (const auto& [arguments, err] : table) {
        const ProcessResult result = zep(arguments);
        EXPECT_EQ(result.err, err);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.exitCode, 1);
    }
}

TEST(EndToEnd, TraceOfALaunchOnTheJdk) {
    ProcessOptions options = onTheJdk();
    options.environment.insert_or_assign(u"QRVN_ZEP_TRACE", std::u16string(1, u'1'));
    const ProcessResult result = runProgram(zepExecutable(), {u"-Dzeptest.show=x", u"animation", u"a"}, options);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(withoutTimes(result.err), noOptionsFilesTraced() + expand(R"(zep: option "-Dzeptest.show=x" (command line)
zep: command word "animation": class com/quorvane/gridmere/traffic/classic/ui/analysis/PlaybackWorker
zep: program arguments: 1
zep: QRVN_ZEP_JAVA_HOME "<jdk>": accepted
zep: runtime search chose "<jdk>/lib/server/libjvm.so" in N ms
zep: JVM library loaded in N ms
zep: JNI_CreateJavaVM, JNI 1.6, 3 options as the runtime reads them:
zep:   -Dzeptest.show=x
zep:   -Djava.class.path=zep.jar
zep:   -Djava.library.path=.
zep: JNI_CreateJavaVM returned 0 after N ms
zep: FindClass com/quorvane/gridmere/traffic/classic/ui/analysis/PlaybackWorker: found in N ms
zep: String[1] of the program arguments made in N ms
zep: GetStaticMethodID main([Ljava/lang/String;)V: found in N ms
zep: calling main
zep: main returned after N ms
zep: DestroyJavaVM returned after N ms
zep: JVM library released
zep: exit code 0
)",
                                                                        {{"jdk", ZEP_TEST_JDK_HOME}}));
}

TEST(EndToEnd, LargestHeapFollowsTheLastXmxOfOptionsFilesAndCommandLine) {
    const ScratchDirectory scratch;
    const fs::path launcher = scratch / "app" / "zep";
    fs::create_directories(launcher.parent_path());
    fs::copy_file(fs::path(zepExecutable()), launcher);
    std::ofstream(scratch / "app" / "zep.vmoptions") << "-Xmx64m\n-Dzeptest.heap=true\n";
    fs::create_directories(scratch / "config" / "gridmere");
    std::ofstream(scratch / "config" / "gridmere" / "zep.vmoptions") << "-Xmx96m\n";
    ProcessOptions options = onTheJdk();
    options.environment[u"XDG_CONFIG_HOME"] = (scratch / "config").u16string();
    // In MiB; the runtime may keep up to a tenth of the heap from what it reports.
    const auto heap = [&](const std::vector<std::u16string>& arguments) {
        const std::string out = runProgram(launcher.u16string(), arguments, options).out;
        const std::size_t at = out.find("heap MiB=");
        return at == std::string::npos ? -1 : std::stoi(out.substr(at + 9));
    };
    const auto near = [](int mib, int xmx) { return mib <= xmx && mib * 10 > xmx * 9; };
    EXPECT_PRED2(near, heap({u"-Xmx128m", u"zep"}), 128);
    EXPECT_PRED2(near, heap({u"zep"}), 96) << "the user's file";
    fs::remove(scratch / "config" / "gridmere" / "zep.vmoptions");
    EXPECT_PRED2(near, heap({u"zep"}), 64) << "the installation's file";
}

TEST(EndToEnd, CurrentDirectoryWithoutTheArchiveMeansNoMainClass) {
    // No zep.jar in the test programs' directory.
    const ProcessResult result = runProgram(zepExecutable(), {u"zep"}, onTheJdk(false));
    EXPECT_EQ(result.err, "Failed to load main class.");
    EXPECT_EQ(result.exitCode, 1);
}

}  // namespace
}  // namespace zep::test
