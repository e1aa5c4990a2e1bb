// The command line: options wherever they stand, the command word that
// selects the entry class, and the arguments for the Java program; and the
// options files' lines before it.

#include "launcher/command_line.h"

#include "platform/runtime_encoding.h"
#include "platform/text.h"

namespace zep {
namespace {

struct Command {
    std::u16string_view word;
    const char* mainClass;
};

constexpr Command kCommands[] = {
    {u"zep", "com/quorvane/gridmere/traffic/classic/ui/x/LaneViewX"},
    {u"cfs", "com/quorvane/gridmere/traffic/classic/ui/x/CityFlowSimulator"},
    {u"ls", "com/quorvane/gridmere/traffic/classic/ui/x/CatalogRuns"},
    {u"createmodel", "com/quorvane/gridmere/traffic/classic/ui/analysis/ModelBuildWorker"},
    {u"animation", "com/quorvane/gridmere/traffic/classic/ui/analysis/PlaybackWorker"},
};

struct RefusedOption {
    std::u16string_view prefix;
    const char* warning;
};

constexpr RefusedOption kRefusedOptions[] = {
    {u"-Djava.class.path=", "Class path cannot be changed."},
    {u"-Djava.library.path=", "Library path cannot be changed."},
};

bool isCommandLineOption(std::u16string_view argument) {
    return argument.starts_with(u"-D") || argument.starts_with(u"-X");
}

}  // namespace

ParsedOption classifyOption(std::u16string text, const std::u16string& file, unsigned line) {
    const bool option = file.empty() ? isCommandLineOption(text) : text.starts_with(u'-');
    ParsedOption parsed{ParsedOption::Kind::Option, std::move(text), nullptr, file, line};
    if (!option) {
        parsed.kind = ParsedOption::Kind::Ignored;
        parsed.warning = "Ignored a line of an options file.";
        return parsed;
    }
    for (const RefusedOption& refused : kRefusedOptions) {
        if (platform::hasPrefixIgnoreCase(parsed.text, refused.prefix)) {
            parsed.kind = ParsedOption::Kind::Refused;
            parsed.warning = refused.warning;
            break;
        }
    }
    return parsed;
}

ParsedLaunch parseArguments(std::span<const OptionsFile> files, std::span<const std::u16string_view> arguments) {
    ParsedLaunch launch;
    for (const OptionsFile& file : files) {
        for (const OptionLine& line : file.lines)
            launch.options.push_back(classifyOption(line.text, file.path, line.number));
    }
    for (const std::u16string_view argument : arguments) {
        if (isCommandLineOption(argument)) {
            launch.options.push_back(classifyOption(std::u16string(argument), {}, 0));
        } else if (launch.commandWord) {
            launch.programArgs.push_back(platform::programArgumentText(argument));
        } else {
            launch.commandWord = std::u16string(argument);
            for (const Command& command : kCommands) {
                if (command.word == argument) {
                    launch.mainClass = command.mainClass;
                    break;
                }
            }
            if (launch.mainClass.empty()) break;  // the walk ends: nothing after the word is looked at
        }
    }
    return launch;
}

}  // namespace zep
