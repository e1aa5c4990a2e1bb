// The real executable, run as a caller runs it: exact standard-error bytes,
// nothing on standard output, and the exit code.

#include <gtest/gtest.h>

#include "tests/support/process.h"

namespace zep::test {
namespace {

ProcessResult zep(const std::vector<std::u16string>& arguments) { return runProgram(zepExecutable(), arguments); }

TEST(CommandLine, RefusedClassPathThenUnknownCommand) {
    const ProcessResult result = zep({u"-Djava.class.path=x", u"ZEP"});
    EXPECT_EQ(result.err, "Class path cannot be changed.Invalid command.");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.exitCode, 1);
}

TEST(CommandLine, TwoRefusedOptionsWarnBackToBack) {
    const ProcessResult result = zep({u"-Djava.library.path=a", u"-Djava.class.path=b", u"nope"});
    EXPECT_EQ(result.err, "Library path cannot be changed.Class path cannot be changed.Invalid command.");
    EXPECT_EQ(result.exitCode, 1);
}

TEST(CommandLine, ArgumentsAfterAnInvalidCommandAreNotExamined) {
    const ProcessResult result = zep({u"", u"-Djava.class.path=x"});
    EXPECT_EQ(result.err, "Invalid command.");
    EXPECT_EQ(result.exitCode, 1);
}

TEST(CommandLine, NonAsciiCommandWordIsInvalid) {
    const ProcessResult result = zep({u"z\u00e9p", u"\u65e5\U0001D11E"});
    EXPECT_EQ(result.err, "Invalid command.");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.exitCode, 1);
}

}  // namespace
}  // namespace zep::test
