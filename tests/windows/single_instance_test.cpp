// zepw.exe's single instance under Wine, the test double standing in for
// Java: the first start, held in DestroyJavaVM as a program with a window
// open is, listens on its pipe; a later one hands its working directory and
// arguments over and makes no machine; once the first has ended, a later
// start runs on its own.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/test_homes.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// zepw.exe on the double's valid home, with `switches`, logging to `log`, in `where`.
ProcessOptions onTheDouble(const JvmLog& log, const std::u16string& switches, const fs::path& where) {
    ProcessOptions options;
    options.environment = {{u"QRVN_ZEP_JAVA_HOME", testHome("valid").u16string()},
                           {u"ZEPTEST_JVM_LOG", log.path().u16string()},
                           {u"ZEPTEST_JVM_FAIL", switches},
                           {u"QRVN_ZEP_TRACE", u"1"}};
    options.workingDirectory = where.u16string();
    return options;
}

bool logHas(const JvmLog& log, std::string_view line) {
    const Lines lines = log.lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(SingleInstance, ALaterStartHandsOverThroughThePipeAndRunsAloneOnceTheFirstHasEnded) {
    ScratchDirectory scratch;
    const fs::path elsewhere = scratch / u"wo \u00e4nders";
    fs::create_directories(elsewhere);
    const JvmLog firstLog(scratch / "first.log");
    const JvmLog laterLog(scratch / "later.log");
    const std::u16string file = u"road 1 \u00fc.grun";

    RunningProgram first = startProgram(zepwExecutable(), {u"zep"},
                                        onTheDouble(firstLog, u"launched-again,destroy-wait=8000", scratch.path()));
    const auto until = std::chrono::steady_clock::now() + 30s;
    while (!logHas(firstLog, "DestroyJavaVM") && first.running() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_TRUE(logHas(firstLog, "DestroyJavaVM")) << firstLog.text();

    const ProcessResult later =
        runProgram(zepwExecutable(), {u"zep", file}, onTheDouble(laterLog, u"launched-again", elsewhere));
    EXPECT_EQ(later.exitCode, 0) << later.err;
    EXPECT_NE(later.err.find("single instance: handed over to \"\\\\.\\pipe\\Gridmere-"), std::string::npos)
        << later.err;
    EXPECT_EQ(laterLog.text(), "") << "no machine of its own";

    const ProcessResult ended = first.finish(30s);
    EXPECT_EQ(ended.exitCode, 0) << ended.err;
    const Lines lines = firstLog.lines();
    const auto attach = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("AttachCurrentThreadAsDaemon ") &&
               line.find(" name=zep launched again ") != std::string::npos;
    });
    ASSERT_NE(attach, lines.end()) << firstLog.text();
    const Lines call(attach, lines.end());
    const auto has = [&](const std::string& line) { return std::find(call.begin(), call.end(), line) != call.end(); };
    EXPECT_TRUE(has("directory units=" + hexUnits(elsewhere.u16string()))) << firstLog.text();
    EXPECT_TRUE(has("arg[0] units=" + hexUnits(file))) << firstLog.text();
    EXPECT_TRUE(has("DetachCurrentThread")) << firstLog.text();

    // The first has ended, and its pipe with it: a later start is its own.
    const ProcessResult alone =
        runProgram(zepwExecutable(), {u"zep", file}, onTheDouble(laterLog, u"launched-again", elsewhere));
    EXPECT_EQ(alone.exitCode, 0) << alone.err;
    EXPECT_NE(alone.err.find("single instance: not handed over"), std::string::npos) << alone.err;
    EXPECT_NE(laterLog.text().find("JNI_CreateJavaVM"), std::string::npos) << laterLog.text();
}

}  // namespace
}  // namespace zep::test
