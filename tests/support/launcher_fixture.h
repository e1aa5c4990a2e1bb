#pragma once
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "launcher/launcher.h"
#include "tests/support/language_state.h"
#include "tests/support/stderr_capture.h"

namespace zep::test {

// The message of the runtime error that `action` throws, or "" when it throws none.
template <typename Action>
std::string runtimeError(Action action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

// A Launcher with helpers to feed it a command line (argv[0] is supplied) and
// to read back what it collected.
class LauncherTest : public LanguageStateTest {
protected:
    void parse(std::vector<std::u16string> arguments) {
        const int argc = setArguments(std::move(arguments));
        launcher.parseArguments(argc, pointers_.data());
    }

    bool run(std::vector<std::u16string> arguments) {
        const int argc = setArguments(std::move(arguments));
        return launcher.run(argc, pointers_.data());
    }

    // The option strings handed to the JVM, as bytes.
    std::vector<std::string> options() const {
        std::vector<std::string> result;
        for (const JavaVMOption& option : launcher.jvmOptions.records()) {
            EXPECT_EQ(option.extraInfo, nullptr);
            result.emplace_back(option.optionString);
        }
        return result;
    }

    StderrCapture stderrText;
    Launcher launcher;

private:
    // Keeps a command line, argv[0] first, alive for the Launcher; returns its count.
    int setArguments(std::vector<std::u16string> arguments) {
        storage_ = std::move(arguments);
        storage_.insert(storage_.begin(), u"zep");
        pointers_.clear();
        for (const auto& argument : storage_) pointers_.push_back(argument.c_str());
        pointers_.push_back(nullptr);
        return static_cast<int>(storage_.size());
    }

    std::vector<std::u16string> storage_;
    std::vector<const char16_t*> pointers_;
};

}  // namespace zep::test
