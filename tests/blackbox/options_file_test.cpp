// The options files on the real launcher: a copy of it with zep.vmoptions
// beside it, and the user's file where this system keeps it (on Windows in
// the roaming application data of the prefix these tests have to themselves).

#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <optional>

#ifdef _WIN32
#include "platform/windows/win32.h"
#else
#include <sys/stat.h>
#endif

#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/test_homes.h"
#include "tests/support/trace_text.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;
using Environment = std::map<std::u16string, std::optional<std::u16string>>;

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

void write(const fs::path& file, std::string_view bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

class OptionsFiles : public ::testing::Test {
protected:
    OptionsFiles() {
        fs::create_directories(app);
        fs::copy_file(fs::path(zepExecutable()), launcher);
        fs::remove(userFile);
    }
    ~OptionsFiles() override {
        std::error_code ignored;
        fs::remove_all(userFile.parent_path(), ignored);
    }

    ProcessResult launch(const std::vector<std::u16string>& arguments, Environment environment = {}) {
        environment.emplace(u"QRVN_ZEP_JAVA_HOME", pathText(testHome("valid")));
        environment.emplace(u"ZEPTEST_JVM_LOG", pathText(log.path()));
        if (!kWindows) environment.emplace(u"XDG_CONFIG_HOME", pathText(scratch / "config"));
        ProcessOptions options;
        options.environment = std::move(environment);
        options.workingDirectory = pathText(scratch.path());
        options.timeout = std::chrono::seconds(20);
        return runProgram(pathText(launcher), arguments, options);
    }

    // What JNI_CreateJavaVM was given, as the double writes it.
    std::vector<std::string> options() const {
        std::vector<std::string> given;
        for (const std::string& line : log.lines()) {
            if (line.starts_with("option[")) given.push_back(line.substr(line.find('=') + 1));
        }
        return given;
    }

    ScratchDirectory scratch;
    const JvmLog log{scratch / "jvm.log"};
    const fs::path app = scratch / "app";
    const fs::path launcher = app / fs::path(zepExecutable()).filename();
    const fs::path installationFile = app / "zep.vmoptions";
    const fs::path userFile =
        kWindows ? fs::path(userOptionsFile()) : scratch / "config" / "gridmere" / "zep.vmoptions";
};

TEST_F(OptionsFiles, InstallationThenUserThenCommandLineThenTheFixedTwo) {
    write(installationFile,
          "\xEF\xBB\xBF# memory for a large city\r\n\r\n  -Dzep.a=1  \r\n-Xmx64m\r\n"
          "-Dp=C:\\Program Files\\x y\r\nXmx64m\r\n-Djava.class.path=x\r\n-Duser.language=de\r\n-Dzep.e=\xC3\xA9");
    // Old Mac line ends, and stray lines told once a file.
    write(userFile, "-Dzep.b=2\rnot an option\rnor this\r-Dzep.b2=3\r");
    const ProcessResult result = launch({u"-Dzep.c=3", u"zep"});
    EXPECT_EQ(result.err,
              "Ignored a line of an options file.Class path cannot be changed.Ignored a line of an options file.");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(options(),
              (std::vector<std::string>{"-Dzep.a=1", "-Xmx64m", "-Dp=C:\\\\Program Files\\\\x y", "-Duser.language=de",
                                        // In the runtime's encoding: code page 1252 here, UTF-8 bytes on Linux.
                                        kWindows ? "-Dzep.e=\\xE9" : "-Dzep.e=\\xC3\\xA9", "-Dzep.b=2", "-Dzep.b2=3",
                                        "-Dzep.c=3", "-Djava.class.path=zep.jar", "-Djava.library.path=."}));

    // The trace names each file and where each option came from.
    log.clear();
    const std::string installation = traced(utf8Path(installationFile)), user = traced(utf8Path(userFile));
    const std::string trace = launch({u"-Dzep.c=3", u"zep"}, {{u"QRVN_ZEP_TRACE", u"1"}}).err;
    EXPECT_TRUE(trace.starts_with(expand(R"(zep: options file "<i>": 6 options
zep: options file "<u>": 2 options
zep: option "-Dzep.a=1" ("<i>":3)
zep: option "-Xmx64m" ("<i>":4)
zep: option "-Dp=C:\Program Files\x y" ("<i>":5)
zep: line "Xmx64m" ("<i>":6) is no option: ignored
Ignored a line of an options file.
zep: option "-Djava.class.path=x" ("<i>":7) refused
Class path cannot be changed.
zep: option "-Duser.language=de" ("<i>":8)
zep: option "-Dzep.e=é" ("<i>":9)
zep: option "-Dzep.b=2" ("<u>":1)
zep: line "not an option" ("<u>":2) is no option: ignored
Ignored a line of an options file.
zep: line "nor this" ("<u>":3) is no option: ignored
zep: option "-Dzep.b2=3" ("<u>":4)
zep: option "-Dzep.c=3" (command line)
zep: command word "zep": class)",
                                         {{"i", installation}, {"u", user}})))
        << trace;
}

TEST_F(OptionsFiles, AFileThatCannotBeUsedEndsTheLaunchWithItsMessageAlone) {
    const std::pair<const char*, std::string> contents[] = {
        {"a byte that is no UTF-8", "-Xmx64m\n-Dx=caf\xE9\n"},
        {"an encoded surrogate", "-Dx=\xED\xA0\x80"},
        {"a NUL", std::string("-Xmx64m\0", 8)},
        {"more than 1 MiB", "-Dx=" + std::string(1024 * 1024, 'x')},
    };
    for (const fs::path& file : {installationFile, userFile}) {
        for (const auto& [what, bytes] : contents) {
            SCOPED_TRACE(utf8Path(file) + ": " + what);
            write(file, bytes);
            log.clear();
            // Neither the warning of the command line nor its invalid command word is told.
            const ProcessResult result = launch({u"-Djava.class.path=x", u"bogus"});
            EXPECT_EQ(result.err, "Invalid options file.");
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_EQ(log.text(), "") << "nothing loaded";
            fs::remove(file);
        }
        // Not a file at all: never opened, so nothing can block.
        fs::create_directories(file);
        EXPECT_EQ(launch({u"zep"}).err, "Invalid options file.");
        fs::remove(file);
#ifndef _WIN32
        ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
        const ProcessResult fifo = launch({u"zep"});
        EXPECT_FALSE(fifo.timedOut);
        EXPECT_EQ(fifo.err, "Invalid options file.");
        fs::remove(file);
#endif
    }
}

#ifdef _WIN32
// The roaming folder redirected, for as long as it lives, to a name that is
// not absolute; the user's own value is put back.
class RelativeRoamingFolder {
public:
    explicit RelativeRoamingFolder(const wchar_t* name) {
        wchar_t value[MAX_PATH] = {};
        DWORD size = sizeof value;
        if (::RegGetValueW(HKEY_CURRENT_USER, kKey, L"AppData", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                           nullptr, value, &size) == ERROR_SUCCESS) {
            saved_ = value;
        }
        set(name);
    }
    ~RelativeRoamingFolder() {
        if (saved_) {
            set(saved_->c_str());
        } else {
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"AppData");
        }
    }
    RelativeRoamingFolder(const RelativeRoamingFolder&) = delete;
    RelativeRoamingFolder& operator=(const RelativeRoamingFolder&) = delete;

private:
    static constexpr const wchar_t* kKey =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    static void set(const wchar_t* value) {
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"AppData", REG_EXPAND_SZ, value,
                                    static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    std::optional<std::wstring> saved_;
};

TEST_F(OptionsFiles, ARoamingFolderThatIsNotAbsoluteReadsNoFileOfTheCurrentDirectory) {
    write(scratch / "Roaming" / "Gridmere" / "zep.vmoptions", "-Dzep.from=current-directory\n");
    const RelativeRoamingFolder redirected(L"Roaming");
    const ProcessResult result = launch({u"zep"}, {{u"QRVN_ZEP_TRACE", u"1"}});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(options().front(), "-Djava.class.path=zep.jar");
    EXPECT_NE(result.err.find("zep: the roaming application data folder \"Roaming\": not an absolute path\n"),
              std::string::npos)
        << result.err;
}
#endif

#ifndef _WIN32
TEST_F(OptionsFiles, UserFileLiesInXdgConfigHomeOrElseInHomesConfig) {
    const std::u16string home = pathText(scratch / "home");
    write(scratch / "home" / ".config" / "gridmere" / "zep.vmoptions", "-Dzep.from=home\n");
    write(userFile, "-Dzep.from=xdg\n");
    const std::pair<Environment, const char*> table[] = {
        {{{u"HOME", home}}, "-Dzep.from=xdg"},
        {{{u"HOME", home}, {u"XDG_CONFIG_HOME", std::nullopt}}, "-Dzep.from=home"},
        {{{u"HOME", home}, {u"XDG_CONFIG_HOME", u""}}, "-Dzep.from=home"},
        {{{u"HOME", home}, {u"XDG_CONFIG_HOME", u"config"}}, "-Dzep.from=home"},  // relative: not used
        {{{u"HOME", u"home"}, {u"XDG_CONFIG_HOME", std::nullopt}}, nullptr},
        {{{u"HOME", std::nullopt}, {u"XDG_CONFIG_HOME", std::nullopt}}, nullptr},
    };
    for (const auto& [environment, option] : table) {
        log.clear();
        EXPECT_EQ(launch({u"zep"}, environment).exitCode, 0);
        EXPECT_EQ(options().front(), option != nullptr ? option : "-Djava.class.path=zep.jar");
    }
}
#endif

}  // namespace
}  // namespace zep::test
