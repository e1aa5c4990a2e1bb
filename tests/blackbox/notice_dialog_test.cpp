// The Linux notice as a person meets it: the real launcher, with no Java
// runtime to find, on an X server of the test's own. xdotool finds and presses
// the dialog; the desktop's default handler for http addresses is a script
// that records what it is asked to open.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/text.h"
#include "tests/support/address_recorder.h"
#include "tests/support/expected_texts.h"
#include "tests/support/no_runtime_posix.h"
#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/test_homes.h"
#include "tests/support/virtual_display.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::utf16ToUtf8;
using platform::utf8ToUtf16;

class NoticeDialog : public ::testing::Test {
protected:
    ProcessOptions environment() const {
        ProcessOptions options;
        clearRuntimeEnvironment(options);
        options.environment[u"DISPLAY"] = utf8ToUtf16(display.name());
        options.environment[u"WAYLAND_DISPLAY"] = std::nullopt;
        options.environment.merge(recorder.environment());
        // No session bus of the machine's: the test's display is all it talks to.
        options.environment[u"DBUS_SESSION_BUS_ADDRESS"] = std::nullopt;
        options.timeout = 60s;
        return options;
    }

    RunningProgram startWithoutRuntimes(const std::vector<std::u16string>& arguments) {
        const NoRuntimeCommand command = launcherWithoutRuntimes(arguments);
        return startProgram(command.program, command.arguments, environment());
    }

    // xdotool on the test's display, never waiting long.
    ProcessResult xdotool(const std::vector<std::u16string>& arguments) const {
        std::vector<std::u16string> command{u"20", u"xdotool"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        ProcessOptions options;
        options.environment[u"DISPLAY"] = utf8ToUtf16(display.name());
        options.environment[u"LC_ALL"] = u"C.UTF-8";  // window names in UTF-8
        options.timeout = 30s;
        return runProgram(u"/usr/bin/timeout", command, options);
    }

    std::vector<std::string> visibleWindowsOf(const RunningProgram& program, bool wait) const {
        std::vector<std::u16string> arguments{u"search"};
        if (wait) arguments.push_back(u"--sync");
        arguments.insert(arguments.end(), {u"--onlyvisible", u"--pid", utf8ToUtf16(std::to_string(program.id()))});
        std::istringstream lines(xdotool(arguments).out);
        std::vector<std::string> windows;
        for (std::string line; std::getline(lines, line);) windows.push_back(line);
        return windows;
    }

    // The notice of `program` once it is on the screen: the one window it shows.
    std::string noticeOf(const RunningProgram& program) const {
        const std::vector<std::string> windows = visibleWindowsOf(program, true);
        if (windows.size() != 1) {
            ADD_FAILURE() << windows.size() << " windows of the launcher on the screen";
            return "";
        }
        // Anything that comes up after the notice would show now.
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(visibleWindowsOf(program, false).size(), 1u);
        return windows.front();
    }

    std::string windowState(const std::string& window) const {
        ProcessOptions options;
        options.timeout = 30s;
        return runProgram(u"/usr/bin/timeout",
                          {u"20", u"xprop", u"-display", utf8ToUtf16(display.name()), u"-id", utf8ToUtf16(window),
                           u"_NET_WM_STATE"},
                          options)
            .out;
    }

    void press(const std::string& window, const std::vector<std::u16string>& keys) const {
        ASSERT_EQ(xdotool({u"windowfocus", u"--sync", utf8ToUtf16(window)}).exitCode, 0);
        std::vector<std::u16string> arguments{u"key"};
        arguments.insert(arguments.end(), keys.begin(), keys.end());
        ASSERT_EQ(xdotool(arguments).exitCode, 0);
    }

    ScratchDirectory scratch;
    VirtualDisplay display;
    // Counts the launcher's windows by their class, the program's name.
    AddressRecorder recorder{scratch / "browser", "zep"};
};

struct Language {
    const char* option;    // after -Duser.language=; empty: no option at all
    const char* expected;  // the texts it brings, English without an option
};

void PrintTo(const Language& language, std::ostream* out) { *out << '"' << language.option << '"'; }

class NoticeDialogInLanguage : public NoticeDialog, public ::testing::WithParamInterface<Language> {
protected:
    std::vector<std::u16string> arguments() const {
        if (*GetParam().option == '\0') return {u"zep"};
        return {u"-Duser.language=" + utf8ToUtf16(GetParam().option), u"zep"};
    }
    const ExpectedLanguage& texts() const { return expectedLanguage(utf8ToUtf16(GetParam().expected)); }
    std::string helpUrl() const { return utf16ToUtf8(expectedHelpUrl(texts())); }

    // The notice is up, with its title, above other windows and modal.
    std::string awaitNotice(const RunningProgram& launcher) const {
        const std::string window = noticeOf(launcher);
        if (window.empty()) return window;
        EXPECT_EQ(xdotool({u"getwindowname", utf8ToUtf16(window)}).out, utf16ToUtf8(texts().title) + "\n");
        // Without a window manager, the state the dialog asks for is what it sets.
        const std::string state = windowState(window);
        EXPECT_NE(state.find("_NET_WM_STATE_ABOVE"), std::string::npos) << state;
        EXPECT_NE(state.find("_NET_WM_STATE_MODAL"), std::string::npos) << state;
        return window;
    }
};

TEST_P(NoticeDialogInLanguage, OkClosesItAndTheLauncherFailsWithItsMessage) {
    RunningProgram launcher = startWithoutRuntimes(arguments());
    const std::string window = awaitNotice(launcher);
    ASSERT_FALSE(window.empty());
    press(window, {u"Return"});  // OK is the default button
    const ProcessResult result = launcher.finish(30s);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.err, "Failed to find java install path");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(recorder.opened(false), std::vector<std::string>{});
}

TEST_P(NoticeDialogInLanguage, HelpClosesItAndOpensTheHelpAddressOnce) {
    RunningProgram launcher = startWithoutRuntimes(arguments());
    const std::string window = awaitNotice(launcher);
    ASSERT_FALSE(window.empty());
    press(window, {u"Tab", u"Return"});  // from OK to Help
    const ProcessResult result = launcher.finish(30s);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.err, "Failed to find java install path");
    EXPECT_EQ(result.exitCode, 1);
    // By the time the browser runs, the notice is off the screen; and the
    // browser has streams of its own, so the launcher's end is the end of its output.
    EXPECT_EQ(recorder.opened(true),
              std::vector<std::string>{helpUrl() + "\nwindows=0\nstreams=/dev/null /dev/null /dev/null\n"});
}

INSTANTIATE_TEST_SUITE_P(Languages, NoticeDialogInLanguage,
                         ::testing::Values(Language{"", "en_GB"}, Language{"de", "de"}, Language{"it", "it"},
                                           Language{"ru", "ru"}),
                         [](const ::testing::TestParamInfo<Language>& language) {
                             const char* option = language.param.option;
                             return *option == '\0' ? std::string("none") : std::string(option);
                         });

TEST_F(NoticeDialog, ClosingItWithEscapeIsLikeOk) {
    RunningProgram launcher = startWithoutRuntimes({u"-Duser.language=fr", u"zep"});
    const std::string window = noticeOf(launcher);
    ASSERT_FALSE(window.empty());
    press(window, {u"Escape"});
    const ProcessResult result = launcher.finish(30s);
    EXPECT_EQ(result.err, "Failed to find java install path");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(recorder.opened(false), std::vector<std::string>{});
}

// True once something listens on the abstract socket `name`.
bool listening(const std::string& name) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    name.copy(address.sun_path + 1, sizeof address.sun_path - 2);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address),
                                   static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())) == 0;
    close(fd);
    return connected;
}

TEST_F(NoticeDialog, ASessionBusWithoutAccessibilityLeavesStandardErrorToTheLauncher) {
    // A session bus that cannot start an accessibility bus, as on many
    // desktops reached from afar: GTK's accessibility bridge warns about it.
    const std::string socket = "zeptest-bus-" + std::to_string(getpid());
    std::ofstream(scratch / "bus.conf")
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
        << " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
        << "<busconfig><type>session</type><listen>unix:abstract=" << socket << "</listen>"
        << "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
        << "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
    RunningProgram bus =
        startProgram(u"/usr/bin/dbus-daemon", {u"--nofork", u"--config-file=" + (scratch / "bus.conf").u16string()});
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!listening(socket) && bus.running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_TRUE(listening(socket)) << "no session bus";

    ProcessOptions options = environment();
    options.environment[u"DBUS_SESSION_BUS_ADDRESS"] = u"unix:abstract=" + utf8ToUtf16(socket);
    const NoRuntimeCommand command = launcherWithoutRuntimes({u"-Duser.language=pt", u"zep"});
    RunningProgram launcher = startProgram(command.program, command.arguments, options);
    const std::string window = noticeOf(launcher);
    ASSERT_FALSE(window.empty());
    press(window, {u"Return"});
    const ProcessResult result = launcher.finish(30s);
    EXPECT_EQ(result.err, "Failed to find java install path");
    EXPECT_EQ(result.exitCode, 1);
}

TEST_F(NoticeDialog, ARuntimeWhoseLibraryDoesNotLoadBringsTheNoticeToo) {
    const fs::path home = vanishingCopy(scratch.path());
    ProcessOptions options = environment();
    options.environment[u"QRVN_ZEP_JAVA_HOME"] = home.u16string();
    options.environment[u"ZEPTEST_JVM_FAIL"] = u"vanish";
    RunningProgram launcher = startProgram(zepExecutable(), {u"-Duser.language=de", u"zep"}, options);
    const std::string window = noticeOf(launcher);
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(xdotool({u"getwindowname", utf8ToUtf16(window)}).out, "Java Runtime nicht gefunden\n");
    press(window, {u"Return"});
    const ProcessResult result = launcher.finish(30s);
    EXPECT_EQ(result.err, "Failed to load jvm.dll");
    EXPECT_EQ(result.exitCode, 1);
}

}  // namespace
}  // namespace zep::test
