#pragma once
// The launch trace as tests compare it: every "<n> ms" made "N ms", since
// times differ from run to run, and the places a run depends on filled in.

#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "tests/support/process.h"
#include "tests/support/test_homes.h"

namespace zep::test {

inline std::string withoutTimes(const std::string& text) {
    static const std::regex kTime("[0-9]+ ms");
    return std::regex_replace(text, kTime, "N ms");
}

// A value as a trace line shows it between its quotes: "<" and double
// quotes escaped, backslashes as they are (the tests' own paths hold no
// control characters).
inline std::string traced(const std::string& text) {
    std::string shown;
    for (const char byte : text) {
        if (byte == '<') {
            shown += "<U+003C>";
        } else if (byte == '"') {
            shown += "<U+0022>";
        } else {
            shown.push_back(byte);
        }
    }
    return shown;
}

// `text` with each "<name>" of `places` replaced by its value, so that an
// expected trace reads as the trace does.
inline std::string expand(std::string text, const std::map<std::string, std::string>& places) {
    for (const auto& [name, value] : places) {
        const std::string marker = "<" + name + ">";
        for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + value.size())) {
            text.replace(at, marker.size(), value);
        }
    }
    return text;
}

// The first lines of the trace of the launcher under test when neither options
// file exists: the one beside the launcher, then the user's.
inline std::string noOptionsFilesTraced() {
    const std::filesystem::path launcher = std::filesystem::path(zepExecutable()).lexically_normal();
    const std::filesystem::path beside = launcher.parent_path() / "zep.vmoptions";
    return "zep: options file \"" + traced(utf8Path(beside)) + "\": not present\nzep: options file \"" +
           traced(utf8Path(std::filesystem::path(userOptionsFile()))) + "\": not present\n";
}

}  // namespace zep::test
