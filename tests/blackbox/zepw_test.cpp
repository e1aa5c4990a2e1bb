// zepw, the launcher a Linux desktop entry starts: the real program on an X
// server of the test's own, its standard error a pipe (as a desktop's log
// is) or a terminal. A GTK module named in GTK_MODULES records every message
// dialog it shows, from inside the process, and presses the button Return
// would press.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text.h"
#include "tests/support/expected_texts.h"
#include "tests/support/no_runtime_posix.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/virtual_display.h"

namespace zep::test {
namespace {

using namespace std::chrono_literals;
using platform::utf16ToUtf8;
using platform::utf8ToUtf16;
using StandardError = ProcessOptions::StandardError;

class Zepw : public ::testing::Test {
protected:
    ProcessOptions onTheDesktop(StandardError standardError = StandardError::Pipe) const {
        ProcessOptions options;
        clearRuntimeEnvironment(options);
        options.environment[u"DISPLAY"] = utf8ToUtf16(display.name());
        options.environment[u"WAYLAND_DISPLAY"] = std::nullopt;
        // No session bus of the machine's: the test's display is all it talks to.
        options.environment[u"DBUS_SESSION_BUS_ADDRESS"] = std::nullopt;
        options.environment[u"GTK_MODULES"] = utf8ToUtf16(ZEP_TEST_DIALOG_RECORDER);
        options.environment[u"ZEPTEST_DIALOG_RECORD"] = (scratch / "dialogs").u16string();
        options.standardError = standardError;
        options.timeout = 60s;
        return options;
    }

    // What the recorder read of the dialogs shown so far, in their order.
    std::string dialogsShown() const {
        std::ifstream in(scratch / "dialogs", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    ScratchDirectory scratch;
    VirtualDisplay display;
};

TEST_F(Zepw, FromTheDesktopItsFailureIsWrittenAndShownInOneBox) {
    struct Case {
        std::vector<std::u16string> arguments;
        StandardError standardError;
        std::string err;   // as zep writes it
        std::string text;  // the box's, a message a line
    };
    const Case cases[] = {
        {{u"nope"}, StandardError::Pipe, "Invalid command.", "Invalid command."},
        {{u"-Djava.class.path=x", u"nope"},
         StandardError::Pipe,
         "Class path cannot be changed.Invalid command.",
         "Class path cannot be changed.\nInvalid command."},
        // Nowhere to write them: the box alone tells.
        {{u"-Djava.class.path=x", u"nope"}, StandardError::None, "", "Class path cannot be changed.\nInvalid command."},
    };
    for (const Case& launch : cases) {
        SCOPED_TRACE(launch.text);
        std::filesystem::remove(scratch / "dialogs");
        const ProcessResult result = runProgram(zepwExecutable(), launch.arguments, onTheDesktop(launch.standardError));
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, launch.err);
        EXPECT_EQ(result.out, "");
        // GTK's own OK, untranslated in the C locale.
        EXPECT_EQ(dialogsShown(), "title: zep\nbutton: _OK\ntext: " + launch.text + "\n");
    }
}

TEST_F(Zepw, WithATerminalOrWithoutADisplayItIsZep) {
    const std::vector<std::u16string> arguments{u"-Djava.library.path=x", u"nope"};
    ProcessOptions terminal = onTheDesktop(StandardError::Terminal);
    ProcessOptions noDisplay = onTheDesktop();
    noDisplay.environment[u"DISPLAY"] = std::nullopt;
    ProcessOptions emptyDisplay = onTheDesktop();
    emptyDisplay.environment[u"DISPLAY"] = u"";
    emptyDisplay.environment[u"WAYLAND_DISPLAY"] = u"";
    for (const ProcessOptions& options : {terminal, noDisplay, emptyDisplay}) {
        const ProcessResult zep = runProgram(zepExecutable(), arguments, options);
        ASSERT_EQ(zep.err, "Library path cannot be changed.Invalid command.");
        const ProcessResult zepw = runProgram(zepwExecutable(), arguments, options);
        EXPECT_FALSE(zepw.timedOut);
        EXPECT_EQ(zepw.err, zep.err);
        EXPECT_EQ(zepw.out, zep.out);
        EXPECT_EQ(zepw.exitCode, zep.exitCode);
        EXPECT_EQ(dialogsShown(), "");
    }
}

TEST_F(Zepw, AfterTheRuntimeMissingNoticeNoBoxFollows) {
    NoRuntimeOptions hidden;
    hidden.launcher = zepwExecutable();
    const NoRuntimeCommand command = launcherWithoutRuntimes({u"zep"}, hidden);
    const ProcessResult result = runProgram(command.program, command.arguments, onTheDesktop());
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Failed to find java install path");
    // The notice alone: it told the user already.
    const ExpectedLanguage& english = expectedLanguage(u"en_GB");
    EXPECT_EQ(dialogsShown(), "title: " + utf16ToUtf8(english.title) + "\nbutton: " + utf16ToUtf8(english.ok) +
                                  "\ntext: " + utf16ToUtf8(expectedNotice(english)) + "\n");
}

// On this machine's real OpenJDK, running the test archive (tests/e2e):
// what the runtime says of a start it refuses, or of main's exception, is in
// the box, and on standard error as zep writes it.
TEST_F(Zepw, ItsBoxSaysWhatTheRuntimeSaidOfTheFailure) {
    const std::filesystem::path settings = scratch / "settings";
    std::filesystem::create_directories(settings / "gridmere");
    const std::string userFile = (settings / "gridmere" / "zep.vmoptions").string();
    struct Case {
        std::vector<std::u16string> arguments;
        std::string userFile;                // what the user's options file holds
        std::vector<std::string> boxPieces;  // what the box says, each piece in its order
        int exitCode;
    };
    const Case cases[] = {
        {{u"zep"},
         "# memory\n-Xmx1z\n",
         {"text: Create JVM failed.\n\nInvalid maximum heap size: -Xmx1z\n-Xmx1z: from " + userFile + ", line 2\n"},
         1},
        {{u"-Xmx99999999g", u"zep"}, "", {"text: Create JVM failed.\n\n", "Could not reserve enough space"}, 1},
        {{u"-XX:+NoSuchFlag", u"zep"}, "", {"text: Create JVM failed.\n\nUnrecognized VM option 'NoSuchFlag'\n"}, 1},
        {{u"cfs", u"throw", u"no road"},
         "",
         {"text: Exception occurred when calling main method.\n\njava.lang.IllegalStateException: no road\n\tat "},
         1},
        {{u"cfs", u"exit", u"3"}, "", {}, 3},  // System.exit: no failure
    };
    for (const Case& launch : cases) {
        SCOPED_TRACE(utf16ToUtf8(launch.arguments.back()));
        std::ofstream(userFile, std::ios::binary | std::ios::trunc) << launch.userFile;
        std::filesystem::remove(scratch / "dialogs");
        ProcessOptions options = onTheDesktop();
        options.environment[u"QRVN_ZEP_JAVA_HOME"] = utf8ToUtf16(ZEP_TEST_JDK_HOME);
        options.environment[u"XDG_CONFIG_HOME"] = settings.u16string();
        options.workingDirectory = testProgramDirectory() + u"/e2e";
        const ProcessResult zep = runProgram(zepExecutable(), launch.arguments, options);
        const ProcessResult zepw = runProgram(zepwExecutable(), launch.arguments, options);
        EXPECT_FALSE(zepw.timedOut);
        EXPECT_EQ(zepw.exitCode, launch.exitCode);
        // The runtime's words where zep's runtime writes them; and, where the
        // runtime ends the process during its start, the launcher's message.
        EXPECT_EQ(zepw.out, zep.out);
        EXPECT_TRUE(zepw.err.starts_with(zep.err)) << zepw.err;
        const std::string shown = dialogsShown();
        std::size_t at = 0;
        for (const std::string& piece : launch.boxPieces) {
            at = shown.find(piece, at);
            EXPECT_NE(at, std::string::npos) << "\"" << piece << "\" not in order in:\n" << shown;
        }
        if (launch.boxPieces.empty()) {
            EXPECT_EQ(shown, "");
        }
    }
}

}  // namespace
}  // namespace zep::test
