#pragma once
// What a launch is asked to do, from its options files and its command line:
// the options with where each came from, the warnings, the entry class and
// the program arguments. Parsing only reads; the Launcher applies the result.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/options_file.h"

namespace zep {

// An argument or options-file line that is not a command word or program
// argument, in the order met: the options files' lines first, then the
// command line's options.
struct ParsedOption {
    enum class Kind {
        Option,   // for the runtime (and, as -Duser.language=, for the notice)
        Refused,  // an option the launcher sets itself: `warning` says so
        Ignored,  // an options-file line that is no option: `warning` says so
    };
    Kind kind;
    std::u16string text;
    const char* warning = nullptr;
    std::u16string file;  // empty: the command line
    unsigned line = 0;    // in `file`
};

struct ParsedLaunch {
    std::vector<ParsedOption> options;
    // The first argument that is no option; when it is no command word
    // either, nothing after it was looked at and mainClass stays empty.
    std::optional<std::u16string> commandWord;
    std::string mainClass;  // JNI class name of the word's entry class
    std::vector<std::u16string> programArgs;

    bool invalidCommand() const { return commandWord && mainClass.empty(); }
};

// The one rule for both sources: what an argument or a line is. On the
// command line an option begins with "-D" or "-X" (exactly so); in an options
// file every line beginning with '-' is one, since its author may give the
// runtime anything it accepts. Class and library path are refused in both.
ParsedOption classifyOption(std::u16string text, const std::u16string& file, unsigned line);

// Sorts the options files' lines and the command line's arguments (argv[0]
// not among them) into a launch.
ParsedLaunch parseArguments(std::span<const OptionsFile> files, std::span<const std::u16string_view> arguments);

}  // namespace zep
