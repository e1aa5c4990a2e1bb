#include "launcher/options_file.h"

#include <algorithm>
#include <stdexcept>

#include "platform/files.h"
#include "platform/system_access.h"
#include "platform/text.h"
#include "platform/trace.h"

namespace zep {
namespace {

namespace trace = platform::trace;

constexpr char16_t kFileName[] = u"zep.vmoptions";
constexpr char16_t kVendor[] = u"Gridmere";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char unit) { return unit == ' ' || unit == '\t'; }

unsigned lineOf(std::string_view bytes, std::size_t offset) {
    return 1 +
           static_cast<unsigned>(std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

// "<n> options": the lines that will reach the runtime or be refused there.
std::string optionCount(const std::vector<OptionLine>& lines) {
    const auto options =
        std::count_if(lines.begin(), lines.end(), [](const OptionLine& line) { return line.text.starts_with(u'-'); });
    return std::to_string(options) + (options == 1 ? " option" : " options");
}

// Reads one file; nullopt when it is not there.
std::optional<OptionsFile> readOptionsFile(const std::u16string& path) {
    const platform::SmallFile file = platform::readSmallFile(path, kOptionsFileLimit);
    std::string problem;
    OptionsText text;
    switch (file.status) {
    case platform::SmallFile::Status::Absent:
        trace::line([&] { return "options file " + trace::quoted(path) + ": not present"; });
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
        trace::line([&] { return "options file " + trace::quoted(path) + ": invalid: " + problem; });
        throw std::runtime_error("Invalid options file.");
    }
    trace::line([&] { return "options file " + trace::quoted(path) + ": " + optionCount(text.lines); });
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
    // A CR ends a line only before its LF, or as the file's last byte.
    if (bytes.ends_with('\r')) bytes.remove_suffix(1);
    unsigned number = 0;
    while (!bytes.empty()) {
        ++number;
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.ends_with('\r') && end != std::string_view::npos) line.remove_suffix(1);
        while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
        while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        text.lines.push_back({platform::utf8ToUtf16(line), number});
    }
    return text;
}

std::vector<OptionsFile> readOptionsFiles() {
    std::vector<OptionsFile> files;
    const auto add = [&](const std::optional<std::u16string>& folder, const char* which) {
        if (!folder) {
            trace::line([&] { return std::string("options file ") + which + ": no folder for it"; });
            return;
        }
        if (auto file = readOptionsFile(*folder + platform::kPathSeparator + kFileName)) {
            files.push_back(std::move(*file));
        }
    };
    // Both are read before anything else is looked at, so that a file that
    // cannot be used is the one thing reported.
    add(platform::systemAccess().executableDirectory(), "beside the executable");
    add(platform::userSettingsFolder(kVendor), "of the user");
    return files;
}

}  // namespace zep
