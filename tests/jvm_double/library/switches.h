#pragma once
// The failures a test asks the double for, through ZEPTEST_JVM_FAIL: switches
// separated by commas, read afresh at every call so that the tests of one
// process can each ask for their own.

#include <optional>
#include <string>
#include <string_view>

namespace zep::jvm_double {

struct Switches {
    std::optional<int> createResult;  // create (-1) or create=<n>
    bool createException = false;
    bool createNoEnv = false;  // success, a machine, and no environment
    bool findClass = false;
    bool findClassPending = false;
    bool array = false;
    bool arrayException = false;
    bool newString = false;
    bool method = false;
    bool methodPending = false;
    bool mainThrows = false;
    std::optional<int> mainExit;
    std::optional<int> destroyWaitMs;
    bool load = false;
    bool lateLoad = false;  // main loads a library of the runtime's bin, as the JVM does later
    bool vanish = false;    // the library's file goes away once loaded
    // The runtime's hooks, called while the machine is created, as a runtime
    // calls them: each "-X" option named through vfprintf as unrecognised;
    // the process ended through exit with a code; or a reason printed and the
    // process aborted.
    bool printOptions = false;
    std::optional<int> exitInCreate;
    bool abortInCreate = false;
    bool toStringThrows = false;  // toString of an exception raises another
    // The entry class has launchedAgain(String, String[]), which throws, or
    // sleeps first, as asked.
    bool launchedAgain = false;
    bool launchedAgainThrows = false;
    std::optional<int> launchedAgainWaitMs;
    std::string unknown;  // the first switch not understood; empty when all were
};

Switches parseSwitches(std::string_view text);

// The switches in force now. A switch the double does not know ends the
// process (kExitDoubleMisused): a misspelt one silently ignored would let the
// test that set it pass for the wrong reason.
Switches currentSwitches();

}  // namespace zep::jvm_double
