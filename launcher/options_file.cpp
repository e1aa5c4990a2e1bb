#include "launcher/options_file.h"

#include <algorithm>
#include <stdexcept>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/trace.h"

namespace zep {
namespace {

namespace trace = platform::trace;

constexpr char16_t kFileName[] = u"zep.vmoptions";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char unit) { return unit == ' ' || unit == '\t'; }

// Takes the first line off `bytes`. LF, CRLF and a lone CR each end a line,
// as Java's own readers take them: a file saved with old Mac line ends holds
// one option a line too.
std::string_view takeLine(std::string_view& bytes) {
    const std::size_t end = bytes.find_first_of("\r\n");
    const std::string_view line = bytes.substr(0, end);
    std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end != std::string_view::npos && bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
    bytes.remove_prefix(next);
    return line;
}

// The number, counted from 1, of the line that holds `offset`, its line end
// included.
unsigned lineOf(std::string_view bytes, std::size_t offset) {
    std::string_view rest = bytes;
    for (unsigned number = 1;; ++number) {
        takeLine(rest);
        if (rest.empty() || offset < bytes.size() - rest.size()) return number;
    }
}

// "<n> options": the lines that will reach the runtime or be refused there.
std::string optionCount(const std::vector<OptionLine>& lines) {
    const auto options =
        std::count_if(lines.begin(), lines.end(), [](const OptionLine& line) { return line.text.starts_with(u'-'); });
    return std::to_string(options) + (options == 1 ? " option" : " options");
}

// Reads one file; nullopt when it is not there.
std::optional<OptionsFile> readOptionsFile(const std::u16string& path, platform::Trace& trace) {
    const platform::SmallFile file = platform::readSmallFile(path, kOptionsFileLimit);
    std::string problem;
    OptionsText text;
    switch (file.status) {
    case platform::SmallFile::Status::Absent:
        trace.line([&] { return "options file " + trace::quoted(path) + ": not present"; });
        return std::nullopt;
    case platform::SmallFile::Status::NotRegular:
        problem = "not a regular file";
        break;
    case platform::SmallFile::Status::TooLarge:
        problem = "larger than 1 MiB";
        break;
    case platform::SmallFile::Status::Unreadable:
        problem = "cannot be read: " + file.problem;
        break;
    case platform::SmallFile::Status::Read:
        text = splitOptionsText(file.bytes);
        problem = text.problem;
        break;
    }
    if (!problem.empty()) {
        trace.line([&] { return "options file " + trace::quoted(path) + ": invalid: " + problem; });
        throw std::runtime_error("Invalid options file.");
    }
    trace.line([&] { return "options file " + trace::quoted(path) + ": " + optionCount(text.lines); });
    return OptionsFile{path, std::move(text.lines)};
}

}  // namespace

OptionsText splitOptionsText(std::string_view bytes) {
    OptionsText text;
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        text.problem = "a NUL byte on line " + std::to_string(lineOf(bytes, nul));
        return text;
    }
    if (const std::size_t valid = platform::wellFormedUtf8Length(bytes); valid != bytes.size()) {
        text.problem = "not UTF-8 on line " + std::to_string(lineOf(bytes, valid));
        return text;
    }
    for (unsigned number = 1; !bytes.empty(); ++number) {
        std::string_view line = takeLine(bytes);
        while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
        while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        text.lines.push_back({platform::utf8ToUtf16(line), number});
    }
    return text;
}

std::vector<OptionsFile> readOptionsFiles(const platform::System& system) {
    std::vector<OptionsFile> files;
    const auto add = [&](const std::optional<std::u16string>& folder, const char* which) {
        if (!folder) {
            system.trace.line([&] { return std::string("options file ") + which + ": no folder for it"; });
            return;
        }
        if (auto file =
                readOptionsFile(platform::joinPath(*folder, kFileName, platform::kPathSeparator), system.trace)) {
            files.push_back(std::move(*file));
        }
    };
    // Both are read before anything else is looked at, so that a file that
    // cannot be used is the one thing reported.
    add(system.machine.executableDirectory(), "beside the executable");
    add(platform::userSettingsFolder(system, kVendor), "of the user");
    return files;
}

}  // namespace zep
