// Java homes as real machines hold them: names with blanks, quotes and
// non-ASCII letters, and a library that is a directory; and the runtime an
// application ships beside its executable, in a folder of any name.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/test_homes.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr char16_t kExe[] = u".exe";
#else
constexpr char16_t kExe[] = u"";
#endif

class UnusualHomes : public ::testing::Test {
protected:
    ProcessResult launch(const fs::path& javaHome, const std::u16string& program = zepExecutable()) {
        ProcessOptions options;
        options.environment = {
            {u"JAVA_HOME", std::nullopt}, {u"ZEPTEST_JVM_LOG", log.path().u16string()}, {u"ZEPTEST_JVM_FAIL", u""}};
        options.environment[u"QRVN_ZEP_JAVA_HOME"] =
            javaHome.empty() ? std::nullopt : std::optional<std::u16string>(pathText(javaHome));
        options.workingDirectory = scratch.path().u16string();
        options.timeout = std::chrono::seconds(20);
        return runProgram(program, {u"zep"}, options);
    }

    std::string firstLoad() const { return log.firstLoad(); }
    static fs::path validHome() { return testHome("valid"); }

    ScratchDirectory scratch;
    const JvmLog log{scratch / "jvm.log"};
};

TEST_F(UnusualHomes, BlanksQuotesAndNonAsciiLettersInTheHomesPath) {
    // A double quote cannot be part of a Windows file name; the apostrophe can, everywhere.
    const fs::path home =
        scratch / fs::path(u8"Java 17 'q' \u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u0430 \u65E5\u672C\u8A9E");
    fs::copy(validHome(), home, fs::copy_options::recursive);
    const ProcessResult result = launch(home);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(firstLoad(), utf8Path(libraryIn(home)));
}

TEST_F(UnusualHomes, LibraryThatIsADirectoryIsPassedOverForTheJre) {
    const fs::path home = scratch / "home";
    fs::create_directories(home / ZEP_TEST_HOME_LIBRARY);  // a directory by the library's name
    fs::create_directories((home / ZEP_TEST_HOME_JAVA).parent_path());
    std::ofstream(home / ZEP_TEST_HOME_JAVA).put('\0');
    fs::copy(validHome(), home / "jre", fs::copy_options::recursive);
    const ProcessResult result = launch(home);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(firstLoad(), utf8Path(libraryIn(home / "jre")));
}

TEST_F(UnusualHomes, RuntimeBesideTheExecutableInAFolderOfAnyName) {
    // Beyond every ANSI code page on Windows; not UTF-8 at all on POSIX.
#ifdef _WIN32
    const fs::path app = scratch / fs::path(u8"app \u00fc \u0436 \u4e2d");
#else
    const fs::path app = scratch / "app \xE9\xFF";
#endif
    const fs::path runtime = app / "runtime";
    const fs::path library = runtime / ZEP_TEST_HOME_LIBRARY;
    fs::create_directories(library.parent_path());
    fs::copy_file(libraryIn(validHome()), library);  // and no java: jlink may strip it
    const fs::path find = fs::path(testProgramDirectory()) / (u"find_runtime" + std::u16string(kExe));
    for (const fs::path& program : {fs::path(zepExecutable()), find}) fs::copy_file(program, app / program.filename());
    fs::path zep = app / fs::path(zepExecutable()).filename();
#ifndef _WIN32
    // The folder of the real file counts, not that of a link to it.
    fs::create_directories(scratch / "elsewhere");
    fs::create_symlink(zep, scratch / "elsewhere" / "zep");
    zep = scratch / "elsewhere" / "zep";
#endif
    ProcessResult result = launch({}, pathText(zep));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(firstLoad(), utf8Path(library.lexically_normal()));

    log.clear();
    result = launch(testHome("jre-only"), pathText(zep));
    EXPECT_EQ(firstLoad(), utf8Path(libraryIn(testHome("jre-only") / "jre"))) << "the variable stays the override";

    // What cannot be the runtime is passed over at once, and nothing is loaded on its behalf.
    ProcessOptions unset;
    unset.environment[u"QRVN_ZEP_JAVA_HOME"] = std::nullopt;
    unset.timeout = std::chrono::seconds(20);
    const auto searched = [&] { return runProgram(pathText(app / find.filename()), {}, unset); };
    EXPECT_EQ(searched().out, utf8Path(library.lexically_normal()));
    fs::remove(library);
    fs::create_directory(library);
    EXPECT_NE(searched().out, utf8Path(library.lexically_normal())) << "a directory";
    fs::remove(library);
    fs::copy_file(libraryIn(testHome("unloadable")), library);
    EXPECT_NE(searched().out, utf8Path(library.lexically_normal())) << "no library";
    fs::remove_all(runtime);
    std::ofstream(runtime).put('\0');
    EXPECT_NE(searched().out, utf8Path(library.lexically_normal())) << "runtime is a file";
}

}  // namespace
}  // namespace zep::test
