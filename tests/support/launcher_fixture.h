#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/command_line.h"
#include "launcher/launcher.h"
#include "tests/support/real_system.h"
#include "tests/support/stderr_capture.h"

namespace zep::test {

// What a command line (without argv[0]) and options files parse into.
inline ParsedLaunch parse(const std::vector<std::u16string>& arguments, const std::vector<OptionsFile>& files = {}) {
    const std::vector<std::u16string_view> views(arguments.begin(), arguments.end());
    return parseArguments(files, views);
}

// The texts of the parsed options of one kind, in order.
inline std::vector<std::u16string> textsOf(const ParsedLaunch& parsed,
                                           ParsedOption::Kind kind = ParsedOption::Kind::Option) {
    std::vector<std::u16string> texts;
    for (const ParsedOption& option : parsed.options) {
        if (option.kind == kind) texts.push_back(option.text);
    }
    return texts;
}

// The warnings as standard error shows them: one after the other.
inline std::string warningsOf(const ParsedLaunch& parsed) {
    std::string warnings;
    for (const ParsedOption& option : parsed.options) {
        if (option.warning != nullptr) warnings += option.warning;
    }
    return warnings;
}

// A whole launch through Launcher::run on this machine, with what it writes
// to standard error.
class LauncherTest : public ::testing::Test {
protected:
    bool run(const std::vector<std::u16string>& arguments) {
        RealSystem real;
        Messages messages(real.trace);
        return Launcher(real.system(), messages).run(arguments);
    }

    StderrCapture stderrText;
};

}  // namespace zep::test
