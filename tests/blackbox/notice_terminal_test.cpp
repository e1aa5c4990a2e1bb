// The Linux notice where no dialog can be shown: written to standard error as
// lines when that is a terminal, left out when it is not, so that a script
// reading standard error gets the launcher's message alone.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <filesystem>
#include <fstream>

#include "platform/text.h"
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

constexpr const char* kNotFound = "Failed to find java install path";

// The file of GTK 3 that the launcher would load, every link resolved.
std::string gtkLibraryFile() {
    void* gtk = dlopen("libgtk-3.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (gtk == nullptr) throw std::runtime_error("GTK 3 is not installed (scripts/setup installs it)");
    link_map* map = nullptr;
    dlinfo(gtk, RTLD_DI_LINKMAP, &map);
    return fs::canonical(map->l_name).string();
}

std::string lines(const ExpectedLanguage& language) {
    return utf16ToUtf8(language.title) + "\n" + utf16ToUtf8(expectedNotice(language)) + "\n" +
           utf16ToUtf8(expectedHelpUrl(language)) + "\n";
}

class TerminalNotice : public ::testing::Test {
protected:
    ProcessResult launch(const std::vector<std::u16string>& arguments, bool terminal,
                         const NoRuntimeOptions& namespaceOptions = {},
                         const std::map<std::u16string, std::optional<std::u16string>>& variables = {}) {
        ProcessOptions options;
        clearRuntimeEnvironment(options);
        options.environment[u"DISPLAY"] = std::nullopt;
        options.environment[u"WAYLAND_DISPLAY"] = std::nullopt;
        for (const auto& [name, value] : variables) options.environment[name] = value;
        if (terminal) options.standardError = ProcessOptions::StandardError::Terminal;
        // A dialog that came up after all would wait for a person: not for long.
        options.timeout = 20s;
        const NoRuntimeCommand command = launcherWithoutRuntimes(arguments, namespaceOptions);
        return runProgram(command.program, command.arguments, options);
    }

    ScratchDirectory scratch;
};

TEST_F(TerminalNotice, WithoutADisplayATerminalGetsTheNoticeInEveryLanguageBeforeTheMessage) {
    for (const ExpectedLanguage& language : kExpectedLanguages) {
        const ProcessResult result = launch({u"-Duser.language=" + std::u16string(language.code), u"zep"}, true);
        EXPECT_EQ(result.err, lines(language) + kNotFound) << utf16ToUtf8(language.code);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.exitCode, 1);
    }
}

TEST_F(TerminalNotice, LanguageOptionOfTheUsersOptionsFileChoosesItAndTheCommandLinesWins) {
    const fs::path config = scratch / "config";
    fs::create_directories(config / "gridmere");
    std::ofstream(config / "gridmere" / "zep.vmoptions") << "-Duser.language=de\n";
    const std::map<std::u16string, std::optional<std::u16string>> user{{u"XDG_CONFIG_HOME", config.u16string()}};
    EXPECT_EQ(launch({u"zep"}, true, {}, user).err, lines(expectedLanguage(u"de")) + kNotFound);
    EXPECT_EQ(launch({u"-Duser.language=it", u"zep"}, true, {}, user).err, lines(expectedLanguage(u"it")) + kNotFound);
}

TEST_F(TerminalNotice, WithoutALanguageOptionTheWholeNoticeFollowsTheLocale) {
    const std::pair<const char16_t*, const char16_t*> locales[] = {
        {u"", u"en_GB"}, {u"de_DE.UTF-8", u"de"}, {u"ja_JP.UTF-8", u"ja"}};
    for (const auto& [locale, language] : locales) {
        const ProcessResult result = launch({u"zep"}, true, {}, {{u"LC_ALL", locale}});
        EXPECT_EQ(result.err, lines(expectedLanguage(language)) + kNotFound) << utf16ToUtf8(locale);
        EXPECT_EQ(result.exitCode, 1);
    }
}

TEST_F(TerminalNotice, StandardErrorThatIsNoTerminalGetsTheMessageAlone) {
    for (const std::u16string language : {u"", u"-Duser.language=de"}) {
        std::vector<std::u16string> arguments{u"zep"};
        if (!language.empty()) arguments.insert(arguments.begin(), language);
        const ProcessResult result = launch(arguments, false);
        EXPECT_EQ(result.err, kNotFound) << utf16ToUtf8(language);
        EXPECT_EQ(result.exitCode, 1);
    }
}

TEST_F(TerminalNotice, ADisplayThatCannotBeReachedIsLikeNone) {
    // Its own network and an empty X socket directory: no X server answers to
    // any name, and no Wayland compositor has a socket where it is looked for.
    // (Only the socket directory is hidden: the build may itself live in /tmp.)
    NoRuntimeOptions unreachable;
    unreachable.ownNetwork = true;
    unreachable.stage = "mkdir -p /tmp/.X11-unix && mount -t tmpfs tmpfs /tmp/.X11-unix";
    const std::map<std::u16string, std::optional<std::u16string>> displays[] = {
        {{u"DISPLAY", u":0"}},
        {{u"WAYLAND_DISPLAY", u"wayland-0"}, {u"XDG_RUNTIME_DIR", scratch.path().u16string()}},
        {{u"WAYLAND_DISPLAY", u"wayland-0"}, {u"XDG_RUNTIME_DIR", std::nullopt}},
    };
    const ExpectedLanguage& german = expectedLanguage(u"de");
    for (const auto& display : displays) {
        const std::string name = utf16ToUtf8(display.begin()->first);
        const ProcessResult onTerminal = launch({u"-Duser.language=de", u"zep"}, true, unreachable, display);
        EXPECT_FALSE(onTerminal.timedOut) << name;
        EXPECT_EQ(onTerminal.err, lines(german) + kNotFound) << name;
        const ProcessResult onPipe = launch({u"-Duser.language=de", u"zep"}, false, unreachable, display);
        EXPECT_EQ(onPipe.err, kNotFound) << name;
        EXPECT_EQ(onPipe.exitCode, 1) << name;
    }
}

TEST_F(TerminalNotice, ADisplayWithoutGtkIsLikeNone) {
    // A display that works, and an empty file where GTK's library was.
    const VirtualDisplay display;
    NoRuntimeOptions withoutGtk;
    withoutGtk.stage = "touch \"" + (scratch / "empty").string() + "\" && mount --bind \"" +
                       (scratch / "empty").string() + "\" \"" + gtkLibraryFile() + "\"";
    const std::map<std::u16string, std::optional<std::u16string>> variables{{u"DISPLAY", utf8ToUtf16(display.name())}};
    const ExpectedLanguage& italian = expectedLanguage(u"it");
    const ProcessResult onTerminal = launch({u"-Duser.language=it", u"zep"}, true, withoutGtk, variables);
    EXPECT_FALSE(onTerminal.timedOut);
    EXPECT_EQ(onTerminal.err, lines(italian) + kNotFound);
    const ProcessResult onPipe = launch({u"-Duser.language=it", u"zep"}, false, withoutGtk, variables);
    EXPECT_FALSE(onPipe.timedOut);
    EXPECT_EQ(onPipe.err, kNotFound);
}

TEST_F(TerminalNotice, ARuntimeWhoseLibraryDoesNotLoadBringsTheNoticeBeforeItsMessage) {
    const fs::path home = vanishingCopy(scratch.path());
    ProcessOptions options;
    clearRuntimeEnvironment(options);
    options.environment[u"DISPLAY"] = std::nullopt;
    options.environment[u"WAYLAND_DISPLAY"] = std::nullopt;
    options.environment[u"QRVN_ZEP_JAVA_HOME"] = home.u16string();
    options.environment[u"ZEPTEST_JVM_FAIL"] = u"vanish";
    options.standardError = ProcessOptions::StandardError::Terminal;
    options.timeout = 20s;
    const ProcessResult result = runProgram(zepExecutable(), {u"-Duser.language=ru", u"zep"}, options);
    EXPECT_EQ(result.err, lines(expectedLanguage(u"ru")) + "Failed to load jvm.dll");
    EXPECT_EQ(result.exitCode, 1);
}

}  // namespace
}  // namespace zep::test
