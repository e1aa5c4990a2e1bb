// The runtime-missing notice of the real zep.exe, found, read and pressed as a
// user would. These run in a Wine prefix of their own whose null graphics
// driver lets the box exist and wait for a press without any display, and
// whose web browser is a script that records the addresses it is given.
// Nothing there is a Java runtime unless a test names one.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "platform/text.h"
#include "platform/windows/win32.h"
#include "tests/support/expected_texts.h"
#include "tests/support/file_text.h"
#include "tests/support/message_box_windows.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/test_homes.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Environment = std::map<std::u16string, std::optional<std::u16string>>;
using Lines = std::vector<std::string>;

constexpr auto kBoxAppears = 20s;
constexpr auto kBoxCloses = 5s;
constexpr auto kLauncherEnds = 20s;
constexpr auto kAddressArrives = 20s;
// How long a test waits to be sure that no address comes. Every Help test
// checks that its address came in well under this.
constexpr auto kNothingComes = 6s;
// A second request made right after the first would arrive right after it.
constexpr auto kSecondAddressWouldCome = 2s;

constexpr char kNoRuntime[] = "Failed to find java install path";
constexpr char kNoLibrary[] = "Failed to load jvm.dll";

std::string utf8(std::u16string_view text) { return platform::utf16ToUtf8(text); }

struct Expected {
    std::string caption, body, ok, help, address;
};

// What the box shows in `code`'s language: that of its option, or with no
// option Wine's own language, English, since these tests run under
// LC_ALL=C.UTF-8 (set where they are registered; Wine takes it from the Unix
// environment, not from a Windows environment block).
Expected expectedFor(std::u16string_view code) {
    const ExpectedLanguage& texts = expectedLanguage(code);
    return {utf8(texts.title), utf8(expectedNotice(texts)), utf8(texts.ok), utf8(texts.help),
            utf8(expectedHelpUrl(texts))};
}

class Notice : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY key = nullptr;
        ASSERT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\JavaSoft", 0, KEY_READ, &key), ERROR_SUCCESS)
            << "this prefix must know of no Java runtime";
    }

    static fs::path home(const char* name) { return testHome(name); }

    // Starts `program` (zep.exe unless named), with a standard error of its
    // own unless told otherwise.
    RunningProgram start(const std::vector<std::u16string>& arguments, Environment environment = {},
                         const std::u16string& program = zepExecutable(),
                         ProcessOptions::StandardError standardError = ProcessOptions::StandardError::Pipe) {
        environment.emplace(u"QRVN_ZEP_JAVA_HOME", std::nullopt);
        environment.emplace(u"JAVA_HOME", std::nullopt);
        environment.emplace(u"Path", u"");
        environment[u"ZEPTEST_JVM_LOG"] = (scratch / "jvm.log").u16string();
        ProcessOptions options;
        options.environment = std::move(environment);
        options.workingDirectory = scratch.path().u16string();
        options.standardError = standardError;
        return startProgram(program, arguments, options);
    }

    // Lets the program end, pressing OK on each box it shows on the way;
    // what it wrote, and how many boxes there were.
    ProcessResult finishCountingBoxes(RunningProgram& program, int& boxes) {
        boxes = 0;
        waitFor(
            [&] {
                for (HWND box : dialogWindowsOf(program.id())) {
                    ++boxes;
                    pressButton(box, IDYES);
                    pressButton(box, IDOK);
                    waitUntilClosed(box, kBoxCloses);
                }
                return !program.running();
            },
            kLauncherEnds);
        return program.finish(kBoxCloses);
    }

    HWND waitForNotice(RunningProgram& program) {
        return waitForActiveDialog([&] { return dialogWindowsOf(program.id()); }, kBoxAppears,
                                   [&] { return program.running(); });
    }

    void expectShows(HWND box, const Expected& expected) {
        const MessageBoxContents shown = readMessageBox(box);
        EXPECT_EQ(utf8(shown.caption), expected.caption);
        EXPECT_EQ(utf8(shown.body), expected.body);
        EXPECT_EQ(utf8(shown.firstButton), expected.ok);
        EXPECT_EQ(utf8(shown.secondButton), expected.help);
        EXPECT_TRUE(shown.topmost) << "the box has no owner and must not open behind other windows";
        DWORD launcher = 0;
        ::GetWindowThreadProcessId(box, &launcher);
        EXPECT_EQ(dialogWindowsOf(launcher).size(), 1u) << "one notice, one box";
    }

    // Presses `button`, sees the box go, and lets the launcher end, counting
    // the boxes it shows after this one.
    ProcessResult pressAndFinish(RunningProgram& program, HWND box, int button, int& laterBoxes) {
        pressButton(box, button);
        openedWhileTheBoxWasUp = false;
        EXPECT_TRUE(waitFor(
            [&] {
                // The log first: an address seen before a box that is still
                // there was opened while the box was up.
                const bool anythingOpened = !opened().empty();
                const bool up = ::IsWindow(box);
                openedWhileTheBoxWasUp = openedWhileTheBoxWasUp || (anythingOpened && up);
                return !up;
            },
            kBoxCloses))
            << "the box stayed after its button was pressed";
        laterBoxes = 0;
        waitFor(
            [&] {
                for (HWND other : dialogWindowsOf(program.id())) {
                    if (other != box) {
                        ++laterBoxes;
                        // Closed with OK, so that the launcher can go on to end.
                        pressButton(other, IDYES);
                        waitUntilClosed(other, kBoxCloses);
                    }
                }
                return !program.running();
            },
            kLauncherEnds);
        const ProcessResult result = program.finish(kBoxCloses);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.out, "");
        return result;
    }

    // The recording browser writes here: it runs in the launcher's working directory.
    fs::path browserLog() const { return scratch / "opened-addresses.log"; }

    // The addresses the browser was asked to open, in order.
    Lines opened() const {
        Lines lines;
        std::ifstream in(browserLog(), std::ios::binary);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // Help: the box closes before the address opens, the address opens once,
    // and the launcher then fails with `message`.
    void pressHelpAndExpect(RunningProgram& program, HWND box, const std::string& address, const char* message) {
        const auto pressed = std::chrono::steady_clock::now();
        int laterBoxes = 0;
        const ProcessResult result = pressAndFinish(program, box, IDNO, laterBoxes);
        EXPECT_FALSE(openedWhileTheBoxWasUp) << "the address was opened while the box was still up";
        EXPECT_EQ(result.err, message);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(laterBoxes, 0) << "the notice came a second time";

        ASSERT_TRUE(waitFor([&] { return !opened().empty(); }, kAddressArrives)) << "no address was opened";
        const auto latency = std::chrono::steady_clock::now() - pressed;
        EXPECT_LT(latency, kNothingComes / 2) << "the tests that expect no address do not wait long enough";
        std::this_thread::sleep_for(kSecondAddressWouldCome);
        EXPECT_EQ(opened(), Lines{address});
    }

    // OK: nothing opens, the notice does not come back, and the launcher fails with `message`.
    void pressOkAndExpect(RunningProgram& program, HWND box, const char* message) {
        int laterBoxes = 0;
        const ProcessResult result = pressAndFinish(program, box, IDYES, laterBoxes);
        EXPECT_EQ(result.err, message);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(laterBoxes, 0) << "the notice came a second time";
        std::this_thread::sleep_for(kNothingComes);
        EXPECT_EQ(opened(), Lines{});
    }

    // A copy of the valid home whose library goes away after the search's
    // probe load, so that the launcher's own load fails.
    fs::path vanishingHome() { return vanishingCopy(scratch.path()); }

    ScratchDirectory scratch;
    bool openedWhileTheBoxWasUp = false;
};

struct LanguageCase {
    const char* name;
    std::u16string_view option;  // empty: no language option
    std::u16string_view texts;   // the expected texts' code
};

// Names the case in test names and messages, instead of its bytes.
void PrintTo(const LanguageCase& language, std::ostream* out) { *out << language.name; }

class NoticeLanguage : public Notice, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(NoticeLanguage, ShowsItsTextsOnTopAndHelpOpensItsAddressOnce) {
    const LanguageCase& language = GetParam();
    std::vector<std::u16string> arguments;
    if (!language.option.empty()) arguments.emplace_back(language.option);
    arguments.emplace_back(u"zep");
    RunningProgram program = start(arguments);
    const HWND box = waitForNotice(program);
    ASSERT_NE(box, nullptr) << "no notice; the launcher wrote: " << program.finish(kBoxCloses).err;
    const Expected expected = expectedFor(language.texts);
    expectShows(box, expected);
    pressHelpAndExpect(program, box, expected.address, kNoRuntime);
}

INSTANTIATE_TEST_SUITE_P(
    AllLanguages, NoticeLanguage,
    ::testing::Values(
        LanguageCase{"none", u"", u"en_GB"}, LanguageCase{"es", u"-Duser.language=es", u"es"},
        LanguageCase{"de", u"-Duser.language=de", u"de"}, LanguageCase{"en_GB", u"-Duser.language=en_GB", u"en_GB"},
        LanguageCase{"en", u"-Duser.language=en", u"en_GB"}, LanguageCase{"fr", u"-Duser.language=fr", u"fr"},
        LanguageCase{"it", u"-Duser.language=it", u"it"}, LanguageCase{"ja", u"-Duser.language=ja", u"ja"},
        LanguageCase{"pt", u"-Duser.language=pt", u"pt"}, LanguageCase{"ru", u"-Duser.language=ru", u"ru"},
        LanguageCase{"zh", u"-Duser.language=zh", u"zh"}),
    [](const ::testing::TestParamInfo<LanguageCase>& tested) { return std::string(tested.param.name); });

TEST_F(Notice, OkOpensNothingAndTheLaunchFails) {
    RunningProgram program = start({u"zep"});
    const HWND box = waitForNotice(program);
    ASSERT_NE(box, nullptr) << "no notice; the launcher wrote: " << program.finish(kBoxCloses).err;
    expectShows(box, expectedFor(u"en_GB"));
    pressOkAndExpect(program, box, kNoRuntime);
}

TEST_F(Notice, LanguageOptionOfTheOptionsFileChoosesTheNoticesLanguage) {
    const fs::path app = scratch / "app";
    fs::create_directories(app);
    fs::copy_file(fs::path(zepExecutable()), app / "zep.exe");
    std::ofstream(app / "zep.vmoptions", std::ios::binary) << "-Duser.language=de\r\n";
    RunningProgram program = start({u"zep"}, {}, (app / "zep.exe").u16string());
    const HWND box = waitForNotice(program);
    ASSERT_NE(box, nullptr) << "no notice; the launcher wrote: " << program.finish(kBoxCloses).err;
    expectShows(box, expectedFor(u"de"));
    pressOkAndExpect(program, box, kNoRuntime);
}

TEST_F(Notice, LibraryThatDoesNotLoadGetsTheNoticeAndHelpOpensItsAddress) {
    RunningProgram program =
        start({u"-Duser.language=ja", u"zep"},
              {{u"QRVN_ZEP_JAVA_HOME", vanishingHome().u16string()}, {u"ZEPTEST_JVM_FAIL", u"vanish"}});
    const HWND box = waitForNotice(program);
    ASSERT_NE(box, nullptr) << "no notice; the launcher wrote: " << program.finish(kBoxCloses).err;
    const Expected expected = expectedFor(u"ja");
    expectShows(box, expected);
    pressHelpAndExpect(program, box, expected.address, kNoLibrary);
}

TEST_F(Notice, LibraryThatDoesNotLoadGetsTheNoticeAndOkOpensNothing) {
    RunningProgram program =
        start({u"zep", u"-Duser.language=pt"},
              {{u"QRVN_ZEP_JAVA_HOME", vanishingHome().u16string()}, {u"ZEPTEST_JVM_FAIL", u"vanish"}});
    const HWND box = waitForNotice(program);
    ASSERT_NE(box, nullptr) << "no notice; the launcher wrote: " << program.finish(kBoxCloses).err;
    expectShows(box, expectedFor(u"pt"));
    pressOkAndExpect(program, box, kNoLibrary);
}

TEST_F(Notice, NoneForFailuresAfterTheLibraryLoadedNorForALaunchThatWorks) {
    struct Launch {
        const char* home;
        const char16_t* fail;
        std::string err;
        int exitCode;
    };
    for (const Launch& launch : {Launch{"noentry", u"", "Cannot find JNI_CreateJavaVM entry point.", 1},
                                 Launch{"valid", u"create", "Create JVM failed.", 1}, Launch{"valid", u"", "", 0}}) {
        SCOPED_TRACE(std::string(launch.home) + " " + utf8(launch.fail));
        RunningProgram program =
            start({u"-Duser.language=de", u"zep"},
                  {{u"QRVN_ZEP_JAVA_HOME", home(launch.home).u16string()}, {u"ZEPTEST_JVM_FAIL", launch.fail}});
        // A notice would hold the launcher up until it was pressed.
        int boxes = 0;
        const ProcessResult result = finishCountingBoxes(program, boxes);
        EXPECT_EQ(boxes, 0);
        EXPECT_EQ(result.err, launch.err);
        EXPECT_EQ(result.exitCode, launch.exitCode);
    }
    EXPECT_EQ(opened(), Lines{});
}

// --- zepw.exe, the launcher without a console window ----------------------------------

TEST_F(Notice, WindowlessLauncherShowsTheSameNoticeAndNoBoxAfterIt) {
    RunningProgram program = start({u"zep"}, {}, zepwExecutable(), ProcessOptions::StandardError::None);
    const HWND box = waitForNotice(program);
    ASSERT_NE(box, nullptr) << "no notice";
    expectShows(box, expectedFor(u"en_GB"));
    int laterBoxes = 0;
    const ProcessResult result = pressAndFinish(program, box, IDYES, laterBoxes);
    EXPECT_EQ(laterBoxes, 0) << "the failure's own box came after the notice";
    EXPECT_EQ(result.exitCode, 1);
}

TEST_F(Notice, WindowlessLauncherWithoutAStandardErrorItCanWriteShowsAFailureWithItsWarningsInOneBox) {
    const struct {
        std::vector<std::u16string> arguments;
        const char16_t* fail;
        ProcessOptions::StandardError standardError;
        std::string shown;
    } cases[] = {
        {{u"zep"}, u"findclass", ProcessOptions::StandardError::None, "Failed to load main class."},
        {{u"-Djava.class.path=x", u"-Djava.library.path=y", u"bogus"},
         u"",
         ProcessOptions::StandardError::None,
         "Class path cannot be changed.\nLibrary path cannot be changed.\nInvalid command."},
        // Given one, but a pipe closed at the far end.
        {{u"-Djava.class.path=x", u"zep"},
         u"findclass",
         ProcessOptions::StandardError::BrokenPipe,
         "Class path cannot be changed.\nFailed to load main class."},
    };
    for (const auto& [arguments, fail, standardError, shown] : cases) {
        SCOPED_TRACE(shown);
        RunningProgram program =
            start(arguments, {{u"QRVN_ZEP_JAVA_HOME", home("valid").u16string()}, {u"ZEPTEST_JVM_FAIL", fail}},
                  zepwExecutable(), standardError);
        const HWND box = waitForActiveDialog([&] { return dialogWindowsOf(program.id()); }, kBoxAppears,
                                             [&] { return program.running(); });
        ASSERT_NE(box, nullptr) << "no box";
        const MessageBoxContents contents = readMessageBox(box);
        EXPECT_EQ(utf8(contents.caption), "zep");
        EXPECT_EQ(utf8(contents.body), shown);
        pressButton(box, IDOK);
        EXPECT_TRUE(waitUntilClosed(box, kBoxCloses));
        int laterBoxes = 0;
        const ProcessResult result = finishCountingBoxes(program, laterBoxes);
        EXPECT_EQ(laterBoxes, 0);
        EXPECT_EQ(result.exitCode, 1);
    }
}

// What the runtime says of a start it refuses reaches the box, with the file
// and line of the option it names; a runtime that ends the process while it
// starts still gets the box, and the exit code it gave; so does the exception
// that ends main, as it describes itself; a program that ends itself gets
// none.
TEST_F(Notice, WindowlessLauncherShowsWhatTheRuntimeSaidOfAFailedStart) {
    const fs::path app = scratch / "app";
    fs::create_directories(app);
    fs::copy_file(fs::path(zepwExecutable()), app / "zepw.exe");
    std::ofstream(app / "zep.vmoptions", std::ios::binary) << "# memory\r\n-Xmx1z\r\n";
    const struct {
        const char16_t* fail;
        std::string says;  // what the box says, or begins with when `endsWith` is not empty
        std::string endsWith;
        int exitCode;
    } cases[] = {
        {u"print-options,create", "Create JVM failed.\n\nUnrecognized option: -Xmx1z\n-Xmx1z: from ",
         "zep.vmoptions, line 2", 1},
        {u"abort-in-create",
         "Create JVM failed.\n\nError occurred during initialization of VM\n"
         "Could not reserve enough space for 1048576 KB object heap",
         "", 1},
        {u"exit-in-create=3", "Create JVM failed.", "", 3},
        {u"main-throws",
         "Exception occurred when calling main method.\n\nzeptest.DoubleException: main-throws\n"
         "\tat zeptest.Main.main(Main.java:7)",
         "", 1},
        // An exception that cannot describe itself leaves the launcher's message alone.
        {u"main-throws,tostring-throws", "Exception occurred when calling main method.", "", 1},
        {u"main-exit=5", "", "", 5},  // System.exit: no box
    };
    for (const auto& [fail, says, endsWith, exitCode] : cases) {
        SCOPED_TRACE(utf8(fail));
        RunningProgram program =
            start({u"zep"}, {{u"QRVN_ZEP_JAVA_HOME", home("valid").u16string()}, {u"ZEPTEST_JVM_FAIL", fail}},
                  (app / "zepw.exe").u16string(), ProcessOptions::StandardError::None);
        if (!says.empty()) {
            const HWND box = waitForActiveDialog([&] { return dialogWindowsOf(program.id()); }, kBoxAppears,
                                                 [&] { return program.running(); });
            ASSERT_NE(box, nullptr) << "no box";
            const std::string body = utf8(readMessageBox(box).body);
            if (endsWith.empty()) {
                EXPECT_EQ(body, says);
            } else {
                EXPECT_TRUE(body.starts_with(says) && body.ends_with(endsWith)) << body;
            }
            pressButton(box, IDOK);
            EXPECT_TRUE(waitUntilClosed(box, kBoxCloses));
        }
        int laterBoxes = 0;
        const ProcessResult result = finishCountingBoxes(program, laterBoxes);
        EXPECT_EQ(laterBoxes, 0);
        EXPECT_EQ(result.exitCode, exitCode);
    }
}

TEST_F(Notice, WindowlessLauncherWritesWhatTheConsoleOneWritesWhereverStandardErrorGoes) {
    const std::u16string cmd = [] {
        wchar_t system[MAX_PATH];
        return platform::fromWide({system, ::GetSystemDirectoryW(system, MAX_PATH)}) + u"\\cmd.exe";
    }();
    const struct {
        std::vector<std::u16string> arguments;
        const char16_t* fail;
    } cases[] = {
        {{u"-Djava.class.path=x", u"bogus"}, u""},  // a warning, then the failure
        {{u"zep"}, u"findclass"},
        {{u"-Djava.class.path=x", u"zep", u"a"}, u""},  // a warning on a launch that works
    };
    for (const auto& [arguments, fail] : cases) {
        const Environment environment = {{u"QRVN_ZEP_JAVA_HOME", home("valid").u16string()},
                                         {u"ZEPTEST_JVM_FAIL", fail}};
        RunningProgram console = start(arguments, environment);
        const ProcessResult expected = console.finish(kLauncherEnds);
        SCOPED_TRACE(expected.err);
        for (const bool toAFile : {false, true}) {
            std::vector<std::u16string> command = arguments;
            if (toAFile) {
                // As the command shell redirects it: standard error is a file.
                command.insert(command.begin(), {u"/c", zepwExecutable()});
                command.push_back(u"2>err.txt");
            }
            RunningProgram windowless = start(command, environment, toAFile ? cmd : zepwExecutable());
            int boxes = 0;
            const ProcessResult result = finishCountingBoxes(windowless, boxes);
            EXPECT_EQ(boxes, 0);
            EXPECT_EQ(result.exitCode, expected.exitCode);
            EXPECT_EQ(toAFile ? fileText(scratch / "err.txt").value_or("<no err.txt>") : result.err, expected.err);
        }
        fs::remove(scratch / "err.txt");
    }
}

TEST(Windowless, ZepwIsAProgramOfTheGuiSubsystemAndZepOfTheConsole) {
    const auto subsystem = [](const std::u16string& program) {
        std::ifstream in(fs::path(std::wstring(program.begin(), program.end())), std::ios::binary);
        IMAGE_DOS_HEADER dos{};
        in.read(reinterpret_cast<char*>(&dos), sizeof dos);
        IMAGE_NT_HEADERS64 headers{};
        in.seekg(dos.e_lfanew);
        in.read(reinterpret_cast<char*>(&headers), sizeof headers);
        return in ? headers.OptionalHeader.Subsystem : WORD{0};
    };
    EXPECT_EQ(subsystem(zepwExecutable()), IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_EQ(subsystem(zepExecutable()), IMAGE_SUBSYSTEM_WINDOWS_CUI);
}

}  // namespace
}  // namespace zep::test
