#pragma once
// The options files: JVM options that stay, one file beside the executable
// for the installation and one in the user's settings folder. UTF-8 text, a
// byte-order mark allowed; one option a line, taken whole; blank lines and
// lines beginning with '#' skipped.

#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace zep {

// Whose programs these are: the name of the user's folders of them.
inline constexpr char16_t kVendor[] = u"Gridmere";

// The most an options file may hold: far more than any list of options, and
// little enough that a wrong file named so is refused rather than read.
inline constexpr std::size_t kOptionsFileLimit = std::size_t{1024} * 1024;

struct OptionLine {
    std::u16string text;  // the line without its line end and the blanks around it
    unsigned number;      // counted from 1
};

// What a file's bytes hold: the lines that are not blank and no comment, in
// order; or, when the file cannot be used (a byte that is no UTF-8, a NUL),
// why not, in plain words.
struct OptionsText {
    std::vector<OptionLine> lines;
    std::string problem;  // empty when the text is usable
};
OptionsText splitOptionsText(std::string_view bytes);

struct OptionsFile {
    std::u16string path;
    std::vector<OptionLine> lines;
};

// The installation's file, then the user's, as far as they exist. Throws
// std::runtime_error("Invalid options file.") when one exists but cannot be
// used: the user asked for options the launch would otherwise run without.
// Each file's fate goes to the system's trace.
std::vector<OptionsFile> readOptionsFiles(const platform::System& system);

}  // namespace zep
