// The run sequence: what a launch does before and after its failures, the one
// handler, and the exit code of the whole process.

#include <functional>
#include <new>

#include "launcher/launcher_main.h"
#include "tests/support/launcher_fixture.h"

namespace zep::test {
namespace {

class Run : public LauncherTest {};

TEST_F(Run, InvalidCommandIsReportedAlone) {
    EXPECT_FALSE(run({u"-Da=1", u"ZEP", u"x"}));
    EXPECT_EQ(stderrText.text(), "Invalid command.");
}

TEST_F(Run, WarningsAndTheFailureRunTogether) {
    EXPECT_FALSE(run({u"-Djava.class.path=x", u"-DJAVA.LIBRARY.PATH=y", u"ZEP"}));
    EXPECT_EQ(stderrText.text(), "Class path cannot be changed.Library path cannot be changed.Invalid command.");
}

// A whole process's launch on this machine, arguments as main reads them.
int launchOnThisMachine(const std::function<std::vector<std::u16string>()>& readArguments) {
    RealSystem real;
    return launcherMain(real.system(), readArguments);
}

TEST(Launch, ExitCodeIsOneAfterAReportedFailure) {
    StderrCapture err;
    EXPECT_EQ(launchOnThisMachine([] { return std::vector<std::u16string>{u"zep", u"nope"}; }), 1);
    EXPECT_EQ(err.text(), "Invalid command.");
}

TEST(Launch, ExhaustedMemoryIsReportedNotCrashed) {
    StderrCapture err;
    EXPECT_EQ(launchOnThisMachine([]() -> std::vector<std::u16string> { throw std::bad_alloc(); }), 1);
    EXPECT_EQ(err.text(), "Out of memory.");
}

TEST(Launch, AnyOtherEscapeIsReportedToo) {
    StderrCapture err;
    EXPECT_EQ(launchOnThisMachine([]() -> std::vector<std::u16string> { throw 42; }), 1);
    EXPECT_EQ(err.text(), "Unexpected failure.");
}

}  // namespace
}  // namespace zep::test
