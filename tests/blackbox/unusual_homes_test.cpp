// Java homes as real machines hold them: names with blanks, quotes and
// non-ASCII letters, and a library that is a directory.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/test_homes.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;

class UnusualHomes : public ::testing::Test {
protected:
    ProcessResult launch(const fs::path& javaHome) {
        ProcessOptions options;
        options.environment = {{u"QRVN_ZEP_JAVA_HOME", javaHome.u16string()},
                               {u"JAVA_HOME", std::nullopt},
                               {u"ZEPTEST_JVM_LOG", log.path().u16string()},
                               {u"ZEPTEST_JVM_FAIL", u""}};
        options.workingDirectory = scratch.path().u16string();
        return runProgram(zepExecutable(), {u"zep"}, options);
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

}  // namespace
}  // namespace zep::test
