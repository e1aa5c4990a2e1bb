#pragma once
// Runs a program as a child process and collects what it wrote, for black-box
// tests of the real executables.

#include <chrono>
#include <map>
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
    // Variables to set (a value) or remove (nullopt); the rest is inherited.
    std::map<std::u16string, std::optional<std::u16string>> environment;
    std::u16string workingDirectory;  // empty: inherited
    std::chrono::milliseconds timeout{60000};
};

ProcessResult runProgram(const std::u16string& program, const std::vector<std::u16string>& arguments,
                         const ProcessOptions& options = {});

// The directory that holds the running test program.
std::u16string testProgramDirectory();

// The launcher under test: build/<preset>/zep or zep.exe, one level above the tests.
std::u16string zepExecutable();

}  // namespace zep::test
