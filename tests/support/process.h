#pragma once
// Runs a program as a child process and collects what it wrote, for black-box
// tests of the real executables.

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zep::test {

struct ProcessResult {
    int exitCode = -1;
    bool timedOut = false;
    std::string out;  // standard output, as bytes
    std::string err;  // standard error, as bytes
};

struct ProcessOptions {
    // Variables to set (a value) or remove (nullopt); the rest is inherited,
    // except the launcher's own trace switch, which a test sets when it wants
    // it, and, on POSIX, XDG_CONFIG_HOME, which names a folder that does not
    // exist, so that no user's options file of this machine joins a test.
    std::map<std::u16string, std::optional<std::u16string>> environment;
    std::u16string workingDirectory;  // empty: inherited
    std::chrono::milliseconds timeout{60000};
    // What the child's standard error is; `err` holds what it wrote there.
    enum class StandardError {
        Pipe,
        // POSIX: a new pseudo-terminal with no output processing, so that
        // `err` holds the bytes as written.
        Terminal,
        // None at all: descriptor 2 closed, or a null handle.
        None,
        // A pipe whose reading end is closed, so that a write fails (and on
        // POSIX raises SIGPIPE); `err` stays empty.
        BrokenPipe,
    };
    StandardError standardError = StandardError::Pipe;
    // Windows: the arguments go onto the command line as they are, unquoted,
    // for programs that parse their command line themselves (msiexec), or a
    // shortcut's argument text.
    bool verbatimArguments = false;
};

// A child that runs while the test goes on (to find and press its windows, say).
// Destroying it before finish() kills the child.
class RunningProgram {
public:
    RunningProgram(RunningProgram&&) noexcept;
    RunningProgram& operator=(RunningProgram&&) noexcept;
    ~RunningProgram();

    // Waits for the child to end, killing it when `timeout` passes first, and
    // returns what it wrote.
    ProcessResult finish(std::chrono::milliseconds timeout);
    // True while the child has not ended.
    bool running();
    // The child's process id.
    unsigned long id() const;

    struct State;
    explicit RunningProgram(std::unique_ptr<State> state);

private:
    std::unique_ptr<State> state_;
};

RunningProgram startProgram(const std::u16string& program, const std::vector<std::u16string>& arguments,
                            const ProcessOptions& options = {});

inline ProcessResult runProgram(const std::u16string& program, const std::vector<std::u16string>& arguments,
                                const ProcessOptions& options = {}) {
    return startProgram(program, arguments, options).finish(options.timeout);
}

// The directory that holds the running test program.
std::u16string testProgramDirectory();

// The launcher under test: build/<preset>/zep or zep.exe, one level above the tests.
std::u16string zepExecutable();
// Its windowless twin beside it: zepw or zepw.exe.
std::u16string zepwExecutable();

// Where the launcher looks for the user's options file, as a launch that a
// test starts sees it: below the nonexistent XDG_CONFIG_HOME on POSIX, in the
// prefix's roaming application data under Wine.
std::u16string userOptionsFile();

}  // namespace zep::test
