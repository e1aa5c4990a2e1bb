// The command-line walk over any command line, as the POSIX entry point hands
// it over (lossless text of argv's bytes). Every argument must land in exactly
// one place: an option (the argument's bytes), a program argument (its bytes
// decoded as text), the command word, or a refused option.

#include <stdexcept>

#include "launcher/launcher.h"
#include "platform/text.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zep::fuzz::require;
    const std::vector<std::u16string> arguments = zep::fuzz::arguments(data, size);
    std::vector<const char16_t*> argv;
    for (const auto& argument : arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);

    // The warnings go to standard error, which the fuzzer's runs discard
    // (run_fuzzer.cmake).
    zep::Launcher launcher;
    bool invalid = false;
    try {
        launcher.parseArguments(static_cast<int>(arguments.size()), argv.data());
    } catch (const std::runtime_error& error) {
        invalid = true;
        require(std::string(error.what()) == "Invalid command.");
    }

    std::size_t option = 0, program = 0;
    bool commandSeen = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        const bool isOption = argument.starts_with(u"-D") || argument.starts_with(u"-X");
        if (isOption) {
            if (zep::platform::hasPrefixIgnoreCase(argument.c_str(), u"-Djava.class.path=") ||
                zep::platform::hasPrefixIgnoreCase(argument.c_str(), u"-Djava.library.path=")) {
                continue;
            }
            require(option < launcher.jvmOptions.size());
            const std::string bytes(launcher.jvmOptions.records()[option++].optionString);
            require(bytes == zep::platform::encodeLossless(argument));
        } else if (commandSeen) {
            require(program < launcher.programArgs.size() &&
                    launcher.programArgs[program++] ==
                        zep::platform::utf8ToUtf16(zep::platform::encodeLossless(argument)));
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
