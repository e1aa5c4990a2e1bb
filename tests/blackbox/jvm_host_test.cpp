// The real launcher driving the test double JVM: what it hands the machine,
// in what order, and the one message of every step that can fail.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/text.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/test_homes.h"
#include "tests/support/trace_text.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLaneView = "com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX";
#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

class JvmHost : public ::testing::Test {
protected:
    static fs::path home(const char* name) { return testHome(name); }

    ProcessResult launch(const std::vector<std::u16string>& arguments, const std::string& fail = "",
                         const fs::path& javaHome = testHome("valid"), ProcessOptions options = {}) {
        options.environment.merge(std::map<std::u16string, std::optional<std::u16string>>{
            {u"QRVN_ZEP_JAVA_HOME", javaHome.u16string()},
            {u"JAVA_HOME", std::nullopt},
            {u"ZEPTEST_JVM_LOG", log.path().u16string()},
            {u"ZEPTEST_JVM_FAIL", std::u16string(fail.begin(), fail.end())},
        });
#ifndef _WIN32
        // A library that does not load brings up the notice, which must not wait for a person here.
        options.environment[u"DISPLAY"] = std::nullopt;
        options.environment[u"WAYLAND_DISPLAY"] = std::nullopt;
#endif
        options.workingDirectory = scratch.path().u16string();
        return runProgram(zepExecutable(), arguments, options);
    }

    Lines calls() const { return log.calls(); }
    std::string loadLines() const { return log.lifecycle(); }

    ScratchDirectory scratch;
    const JvmLog log{scratch / "jvm.log"};
};

std::string mainCall(int args) {
    return std::string("CallStaticVoidMethod class=") + kLaneView +
           " method=main([Ljava/lang/String;)V args=" + std::to_string(args);
}

TEST_F(JvmHost, SuccessfulLaunchHandsOverOptionsAndArgumentsInOrder) {
    const ProcessResult result = launch({u"-Dzeptest=\u00e9", u"zep", u"a", u"-Xss2m", u"", u"\U0001D11E", u"cfs"});
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(calls(),
              (Lines{
                  "JNI_CreateJavaVM version=0x00010006 nOptions=4 ignoreUnrecognized=0",
                  // The runtime reads options in the ANSI code page on Windows (1252
                  // here), as the bytes the launcher got on Linux (UTF-8 here).
                  kWindows ? "option[0]=-Dzeptest=\\xE9" : "option[0]=-Dzeptest=\\xC3\\xA9",
                  "option[1]=-Xss2m",
                  "option[2]=-Djava.class.path=zep.jar",
                  "option[3]=-Djava.library.path=.",
                  "ExceptionOccurred none",  // after creation
                  "ExceptionOccurred none",  // the main class is named
                  std::string("FindClass ") + kLaneView,
                  "ExceptionOccurred none",
                  "NewStringUTF ",
                  "ExceptionOccurred none",
                  "FindClass java/lang/String",
                  "ExceptionOccurred none",
                  "NewObjectArray length=4 class=java/lang/String init=",
                  "ExceptionOccurred none",
                  "NewString length=1 units=0061",
                  "ExceptionOccurred none",
                  "SetObjectArrayElement index=0",
                  "ExceptionOccurred none",
                  "NewString length=0 units=",
                  "ExceptionOccurred none",
                  "SetObjectArrayElement index=1",
                  "ExceptionOccurred none",
                  "NewString length=2 units=d834 dd1e",
                  "ExceptionOccurred none",
                  "SetObjectArrayElement index=2",
                  "ExceptionOccurred none",
                  "NewString length=3 units=0063 0066 0073",
                  "ExceptionOccurred none",
                  "SetObjectArrayElement index=3",
                  "ExceptionOccurred none",
                  std::string("GetStaticMethodID class=") + kLaneView + " name=main sig=([Ljava/lang/String;)V",
                  "ExceptionOccurred none",
                  mainCall(4),
                  "arg[0] units=0061",
                  "arg[1] units=",
                  "arg[2] units=d834 dd1e",
                  "arg[3] units=0063 0066 0073",
                  "ExceptionOccurred none",
                  "DestroyJavaVM",
              }));
    EXPECT_EQ(loadLines(), "LULDU") << "probe load released, real load kept until after DestroyJavaVM";
}

TEST_F(JvmHost, OptionBytesThatAreNoUtf8ReachTheMachineAsGiven) {
    if (kWindows) GTEST_SKIP() << "Windows arguments are UTF-16";
    // The process helper hands each lone U+DC80..U+DCFF over as the byte it stands for.
    const ProcessResult result = launch({platform::decodeLossless("-Dx=\xE9\xFF"), u"zep"});
    EXPECT_EQ(result.exitCode, 0);
    const Lines lines = calls();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "option[0]=-Dx=\\xE9\\xFF");
}

TEST_F(JvmHost, NoProgramArgumentsGiveAnEmptyArray) {
    EXPECT_EQ(launch({u"animation"}).exitCode, 0);
    const Lines lines = calls();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "NewObjectArray length=0 class=java/lang/String init="),
              lines.end());
}

TEST_F(JvmHost, SystemExitInMainEndsTheProcessWithItsCode) {
    const ProcessResult result = launch({u"zep"}, "main-exit=3");
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "");
}

TEST_F(JvmHost, TeardownWaitsForTheMachine) {
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result = launch({u"zep"}, "destroy-wait=700");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(700));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(calls().back(), "DestroyJavaVM waited 700");
}

// --- the launch trace ------------------------------------------------------------

ProcessOptions tracing(std::u16string value = u"1") {
    ProcessOptions options;
    options.environment[u"QRVN_ZEP_TRACE"] = std::move(value);
    return options;
}

TEST_F(JvmHost, TraceTellsEachStepOnStandardErrorBesideTheMessages) {
    const ProcessResult result = launch({u"-Djava.class.path=x", u"-Dx=1", u"zep", u"a"}, "", home("valid"), tracing());
    // A message has no line end of its own: the trace line after it starts a new one.
    EXPECT_EQ(withoutTimes(result.err),
              noOptionsFilesTraced() + expand(R"(zep: option "-Djava.class.path=x" (command line) refused
Class path cannot be changed.
zep: option "-Dx=1" (command line)
zep: command word "zep": class com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX
zep: program arguments: 1
zep: QRVN_ZEP_JAVA_HOME "<home>": accepted
zep: runtime search chose "<library>" in N ms
zep: JVM library loaded in N ms
zep: JNI_CreateJavaVM, JNI 1.6, 3 options as the runtime reads them:
zep:   -Dx=1
zep:   -Djava.class.path=zep.jar
zep:   -Djava.library.path=.
zep: JNI_CreateJavaVM returned 0 after N ms
zep: FindClass com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX: found in N ms
zep: String[1] of the program arguments made in N ms
zep: GetStaticMethodID main([Ljava/lang/String;)V: found in N ms
zep: calling main
zep: main returned after N ms
zep: DestroyJavaVM returned after N ms
zep: JVM library released
zep: exit code 0
)",
                                              {{"home", traced(utf8Path(home("valid")))},
                                               {"library", traced(utf8Path(libraryIn(home("valid"))))}}));
    EXPECT_EQ(result.exitCode, 0);
}

TEST_F(JvmHost, TraceLinesAreTheLaunchersOwnWhateverTheValuesInThemHold) {
    // Values that would end a line and begin a false one, move a terminal's
    // cursor, end a quote early, pass for an escape, show the line in another
    // order, or are no text at all.
    const std::u16string forged = u"-Dx=a\nzep: exit code 0";
    const std::u16string terminal = u"-Dy=\x1B[2J\r\t\"q\"\\";
    const std::u16string reordered = u"-Dv=<U+0041>\u202Egpj.exe\u2066\u200B";
    const std::u16string broken =
        kWindows ? u"-Dz=" + std::u16string(1, char16_t{0xD800}) : platform::decodeLossless("-Dz=\xFF");
    // A file name may hold a C1 control (CSI) anywhere, a line feed on Linux.
    const fs::path hostile = scratch / fs::path(kWindows ? u"home \u009B" : u"home \u009B\nnot the launcher's");
    fs::copy(home("valid"), hostile, fs::copy_options::recursive);
    const ProcessResult result =
        launch({forged, terminal, reordered, broken, u"-Dw=\u00e9", u"zep"}, "", hostile, tracing());
    EXPECT_EQ(result.exitCode, 0);
    for (std::size_t start = 0; start < result.err.size();) {
        const std::size_t end = result.err.find('\n', start);
        const std::string line = result.err.substr(start, end == std::string::npos ? end : end - start);
        EXPECT_TRUE(line.starts_with("zep: ")) << line;
        EXPECT_EQ(line.find_first_of("\r\x1B"), std::string::npos) << line;
        EXPECT_EQ(line.find("\u202E"), std::string::npos) << line;
        start = end == std::string::npos ? end : end + 1;
    }
    const std::string shownHome =
        traced(utf8Path(scratch.path())) + (kWindows ? "\\home <U+009B>" : "/home <U+009B><U+000A>not the launcher's");
    const std::string library = kWindows ? R"(\bin\server\jvm.dll)" : "/lib/server/libjvm.so";
    // The runtime reads options in the ANSI code page on Windows (1252 here),
    // where a lone surrogate and the invisible controls have no character; on
    // Linux as their bytes.
    EXPECT_TRUE(withoutTimes(result.err)
                    .starts_with(noOptionsFilesTraced() +
                                 expand(R"(zep: option "-Dx=a<U+000A>zep: exit code 0" (command line)
zep: option "-Dy=<U+001B>[2J<U+000D><U+0009><U+0022>q<U+0022>\" (command line)
zep: option "-Dv=<U+003C>U+0041><U+202E>gpj.exe<U+2066><U+200B>" (command line)
zep: option "-Dz=<broken>" (command line)
zep: option "-Dw=<e>" (command line)
zep: command word "zep": class com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX
zep: program arguments: 0
zep: QRVN_ZEP_JAVA_HOME "<home>": accepted
zep: runtime search chose "<home><library>" in N ms
zep: JVM library loaded in N ms
zep: JNI_CreateJavaVM, JNI 1.6, 7 options as the runtime reads them:
zep:   -Dx=a<U+000A>zep: exit code 0
zep:   -Dy=<U+001B>[2J<U+000D><U+0009><U+0022>q<U+0022>\
zep:   -Dv=<U+003C>U+0041><read v>
zep:   -Dz=<read broken>
zep:   -Dw=<read e>
zep:   -Djava.class.path=zep.jar
)",
                                        {{"home", shownHome},
                                         {"library", library},
                                         {"broken", kWindows ? "<U+D800>" : "<0xFF>"},
                                         {"read broken", kWindows ? "?" : "<0xFF>"},
                                         {"read v", kWindows ? "?gpj.exe??" : "<U+202E>gpj.exe<U+2066><U+200B>"},
                                         {"e", "\u00e9"},
                                         {"read e", kWindows ? "<0xE9>" : "\u00e9"}})))
        << result.err;
}

TEST_F(JvmHost, TraceEndsWithTheFailureAndTheExitCodeButNotWhenJavaEndsTheProcess) {
    const ProcessResult failed = launch({u"zep"}, "method", home("valid"), tracing(u"yes"));
    EXPECT_TRUE(withoutTimes(failed.err)
                    .ends_with("zep: GetStaticMethodID main([Ljava/lang/String;)V: not found after N ms\n"
                               "Failed to find main method.\n"
                               "zep: DestroyJavaVM returned after N ms\n"
                               "zep: JVM library released\n"
                               "zep: exit code 1\n"))
        << failed.err;
    const ProcessResult exited = launch({u"zep"}, "main-exit=3", home("valid"), tracing());
    EXPECT_TRUE(exited.err.ends_with("zep: calling main\n")) << exited.err;
    EXPECT_EQ(exited.exitCode, 3);
}

TEST_F(JvmHost, TraceIsOffForZeroAnEmptyValueAndAClosedStandardError) {
    for (const std::u16string value : {u"0", u""}) {
        const ProcessResult result = launch({u"-Djava.class.path=x", u"zep"}, "", home("valid"), tracing(value));
        EXPECT_EQ(result.err, "Class path cannot be changed.");
        EXPECT_EQ(result.exitCode, 0);
    }
    ProcessOptions closed = tracing();
    closed.standardError = ProcessOptions::StandardError::None;
    const ProcessResult result = launch({u"zep", u"a"}, "", home("valid"), closed);
    EXPECT_EQ(result.exitCode, 0) << "the launch went on as without the trace";
    EXPECT_EQ(calls().back(), "DestroyJavaVM");
}

TEST_F(JvmHost, PipeNobodyReadsEndsNeitherTheLaunchNorItsFailure) {
    // On POSIX every write into it raises SIGPIPE, which would end the
    // launcher with 141.
    ProcessOptions broken = tracing();
    broken.standardError = ProcessOptions::StandardError::BrokenPipe;
    EXPECT_EQ(launch({u"zep", u"a"}, "", home("valid"), broken).exitCode, 0) << "the trace into it";
    EXPECT_EQ(calls().back(), "DestroyJavaVM");
    broken.environment.clear();
    EXPECT_EQ(launch({u"-Djava.class.path=x", u"zep"}, "method", home("valid"), broken).exitCode, 1)
        << "a warning and the failure into it";
}

// --- every step that can fail, with its one message ------------------------------

struct Failure {
    const char* name;
    const char* fail;  // ZEPTEST_JVM_FAIL
    const char* home;  // the home QRVN_ZEP_JAVA_HOME names
    std::vector<std::u16string> arguments;
    std::string err;       // standard error, exactly
    std::string teardown;  // loads (L), unloads (U) and DestroyJavaVM (D), in order
};

std::string described(const char* switchName) {
    return std::string("Exception in thread \"main\" zeptest.DoubleException: ") + switchName + "\n";
}

TEST_F(JvmHost, EveryFailedStepReportsItsMessageAndTearsDownWhatExists) {
    const Failure table[] = {
        {"no entry point", "", "noentry", {u"zep"}, "Cannot find JNI_CreateJavaVM entry point.", "LULU"},
        {"negative creation", "create=-6", "valid", {u"zep"}, "Create JVM failed.", "LULU"},
        {"success without an environment", "create-no-env", "valid", {u"zep"}, "Create JVM failed.", "LULDU"},
        {"exception after creation",
         "create-exception",
         "valid",
         {u"zep"},
         described("create-exception") + "Exception occurred during JVM creation.",
         "LULDU"},
        {"no command word", "", "valid", {u"-Dx=1"}, "Main class invalid.", "LULDU"},
        {"class not found", "findclass", "valid", {u"zep"}, "Failed to load main class.", "LULDU"},
        {"class found, exception pending",
         "findclass-pending",
         "valid",
         {u"zep"},
         described("findclass-pending") + "Failed to load main class.",
         "LULDU"},
        {"no array", "array", "valid", {u"zep", u"a"}, "Failed to create command line arguments.", "LULDU"},
        {"no string for the first argument",
         "newstring",
         "valid",
         {u"zep", u"a", u"b"},
         described("newstring") + "Failed to create command line arguments.",
         "LULDU"},
        {"exception while filling",
         "array-exception",
         "valid",
         {u"zep", u"a", u"b"},
         described("array-exception") + "Failed to create command line arguments.",
         "LULDU"},
        {"no main method", "method", "valid", {u"zep"}, "Failed to find main method.", "LULDU"},
        {"method found, exception pending",
         "method-pending",
         "valid",
         {u"zep"},
         described("method-pending") + "Failed to find main method.",
         "LULDU"},
        {"main throws",
         "main-throws",
         "valid",
         {u"zep"},
         described("main-throws") + "Exception occurred when calling main method.",
         "LULDU"},
    };
    for (const Failure& failure : table) {
        SCOPED_TRACE(failure.name);
        log.clear();
        const ProcessResult result = launch(failure.arguments, failure.fail, home(failure.home));
        EXPECT_EQ(result.err, failure.err);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(loadLines(), failure.teardown);
        for (const std::string& line : calls()) {
            EXPECT_FALSE(line.starts_with("exception-pending") || line.starts_with("wrong-thread")) << line;
        }
    }
}

TEST_F(JvmHost, NoCallFollowsAFailedStep) {
    launch({u"zep"}, "method");
    const Lines lines = calls();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.starts_with("CallStaticVoidMethod"); }),
              0);
    EXPECT_EQ(lines.back(), "DestroyJavaVM") << "the pending exception is left to the machine";
}

TEST_F(JvmHost, LibraryGoneAfterTheSearchFailsToLoad) {
    const ProcessResult result = launch({u"zep"}, "vanish", vanishingCopy(scratch.path()));
    EXPECT_EQ(result.err, "Failed to load jvm.dll");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(calls(), (Lines{"vanished"}));
}

}  // namespace
}  // namespace zep::test
