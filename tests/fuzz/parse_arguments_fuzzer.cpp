// The command-line walk and its UTF-16 to UTF-8 conversion of options, over
// any command line. Every argument must land in exactly one place, unchanged:
// an option (decoded back, it equals the argument with lone surrogates
// replaced), a program argument, the command word, or a refused option.

#include <iostream>
#include <sstream>
#include <stdexcept>

#include "launcher/launcher.h"
#include "platform/utf.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// Lone surrogates become U+FFFD; everything else stays.
std::u16string scalarValues(const std::u16string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out.push_back(unit);
            out.push_back(text[++i]);
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out.push_back(0xFFFD);
        } else {
            out.push_back(unit);
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zep::fuzz::require;
    const std::vector<std::u16string> arguments = zep::fuzz::arguments(data, size);
    std::vector<const char16_t*> argv;
    for (const auto& argument : arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);

    std::ostringstream warnings;
    std::streambuf* previous = std::cerr.rdbuf(warnings.rdbuf());
    zep::Launcher launcher;
    bool invalid = false;
    try {
        launcher.parseArguments(static_cast<int>(arguments.size()), argv.data());
    } catch (const std::runtime_error& error) {
        invalid = true;
        require(std::string(error.what()) == "Invalid command.");
    }
    std::cerr.rdbuf(previous);

    std::size_t option = 0, program = 0;
    bool commandSeen = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        const bool isOption = argument.starts_with(u"-D") || argument.starts_with(u"-X");
        if (isOption) {
            if (zep::hasPrefixIgnoreCase(argument.c_str(), u"-Djava.class.path=") ||
                zep::hasPrefixIgnoreCase(argument.c_str(), u"-Djava.library.path=")) {
                continue;
            }
            require(option < launcher.jvmOptions.size());
            const std::string bytes(launcher.jvmOptions[option++].optionString);
            require(zep::platform::utf8ToUtf16(bytes) == scalarValues(argument));
        } else if (commandSeen) {
            require(program < launcher.programArgs.size() && launcher.programArgs[program++] == argument);
        } else {
            commandSeen = true;
            if (launcher.mainClass.empty()) {
                require(invalid);  // the walk ended here
                break;
            }
        }
    }
    require(option == launcher.jvmOptions.size());
    require(program == launcher.programArgs.size());
    return 0;
}
