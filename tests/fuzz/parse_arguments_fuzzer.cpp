// The command-line walk over any command line, as the POSIX entry point hands
// it over (lossless text of argv's bytes). Every argument must land in exactly
// one place: an option (the argument's bytes), a program argument (its bytes
// decoded as text), the command word, or a refused option.

#include <string_view>

#include "launcher/command_line.h"
#include "platform/runtime_encoding.h"
#include "platform/text.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zep::ParsedOption;
    using zep::fuzz::require;
    const std::vector<std::u16string> arguments = zep::fuzz::arguments(data, size);
    const std::vector<std::u16string_view> views(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end());
    const zep::ParsedLaunch parsed = zep::parseArguments({}, views);

    std::size_t option = 0, program = 0;
    bool commandSeen = false;
    for (const std::u16string_view argument : views) {
        const bool isOption = argument.starts_with(u"-D") || argument.starts_with(u"-X");
        if (isOption) {
            require(option < parsed.options.size());
            const ParsedOption& parsedOption = parsed.options[option++];
            require(parsedOption.text == argument && parsedOption.file.empty());
            const bool refused = zep::platform::hasPrefixIgnoreCase(argument, u"-Djava.class.path=") ||
                                 zep::platform::hasPrefixIgnoreCase(argument, u"-Djava.library.path=");
            require(refused == (parsedOption.kind == ParsedOption::Kind::Refused));
            require(refused ||
                    zep::platform::toRuntimeEncoding(parsedOption.text) == zep::platform::encodeLossless(argument));
        } else if (commandSeen) {
            require(program < parsed.programArgs.size() &&
                    parsed.programArgs[program++] ==
                        zep::platform::utf8ToUtf16(zep::platform::encodeLossless(argument)));
        } else {
            commandSeen = true;
            require(parsed.commandWord == argument);
            if (parsed.invalidCommand()) break;  // the walk ended here
        }
    }
    require(option == parsed.options.size());
    require(program == parsed.programArgs.size());
    return 0;
}
