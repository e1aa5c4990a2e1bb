// The command line: options wherever they stand, the command word that
// selects the entry class, and the arguments for the Java program.

#include <stdexcept>
#include <string>
#include <string_view>

#include "launcher/launcher.h"
#include "launcher/message.h"
#include "platform/runtime_text.h"
#include "platform/text.h"
#include "platform/trace.h"

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
    const char16_t* prefix;
    const char* warning;
};

constexpr RefusedOption kRefusedOptions[] = {
    {u"-Djava.class.path=", "Class path cannot be changed."},
    {u"-Djava.library.path=", "Library path cannot be changed."},
};

bool isOption(std::u16string_view argument) { return argument.starts_with(u"-D") || argument.starts_with(u"-X"); }

}  // namespace

void Launcher::parseArguments(int argc, const char16_t* const argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::u16string_view argument(argv[i]);
        if (isOption(argument)) {
            const RefusedOption* refused = nullptr;
            for (const RefusedOption& candidate : kRefusedOptions) {
                if (platform::hasPrefixIgnoreCase(argument, candidate.prefix)) {
                    refused = &candidate;
                    break;
                }
            }
            if (refused != nullptr) {
                platform::trace::line([&] { return "option " + platform::trace::quoted(argument) + " refused"; });
                writeMessage(refused->warning);
                continue;
            }
            platform::trace::line([&] { return "option " + platform::trace::quoted(argument); });
            applyLanguageOption(argv[i]);
            jvmOptions.append(platform::toRuntimeEncoding(argument));
        } else if (!mainClass.empty()) {
            programArgs.push_back(platform::programArgumentText(argument));
        } else {
            const Command* command = nullptr;
            for (const Command& candidate : kCommands) {
                if (candidate.word == argument) {
                    command = &candidate;
                    break;
                }
            }
            if (command == nullptr) {
                platform::trace::line(
                    [&] { return "command word " + platform::trace::quoted(argument) + ": no such command"; });
                throw std::runtime_error("Invalid command.");
            }
            platform::trace::line(
                [&] { return "command word " + platform::trace::quoted(argument) + ": class " + command->mainClass; });
            mainClass = command->mainClass;
        }
    }
    if (mainClass.empty()) platform::trace::line("no command word");
    platform::trace::line([&] { return "program arguments: " + std::to_string(programArgs.size()); });
}

}  // namespace zep
