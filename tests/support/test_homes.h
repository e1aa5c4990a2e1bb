#pragma once
// The Java homes the build assembles around the test double (zep_add_test_home)
// and the log the double writes: one place for every test that uses them.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "tests/support/file_text.h"
#include "tests/support/process.h"

namespace zep::test {

using Lines = std::vector<std::string>;

// A home made by zep_add_test_home, next to the test programs.
inline std::filesystem::path testHome(std::string_view name) {
    return std::filesystem::path(testProgramDirectory()) / "homes" / name;
}

// The JVM library inside a home, with the system's separators.
inline std::filesystem::path libraryIn(const std::filesystem::path& home) {
    return (home / ZEP_TEST_HOME_LIBRARY).make_preferred();
}

// A copy of the valid home inside `directory`, for the failure switch
// "vanish": its library removes its own file once loaded, so that the load
// after the search's probe finds nothing.
inline std::filesystem::path vanishingCopy(const std::filesystem::path& directory) {
    const std::filesystem::path copy = directory / "vanishing-home";
    std::filesystem::remove_all(copy);
    std::filesystem::copy(testHome("valid"), copy, std::filesystem::copy_options::recursive);
    return copy;
}

// A path as the launcher and the test double print it: UTF-8 on Windows, the
// bytes as they are on POSIX (which need not be UTF-8).
inline std::string utf8Path(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return {reinterpret_cast<const char*>(text.data()), text.size()};
#else
    return path.string();
#endif
}

// A path as the process helpers take it: on POSIX its bytes decoded
// losslessly, as the launcher decodes its own.
inline std::u16string pathText(const std::filesystem::path& path) {
#ifdef _WIN32
    return path.u16string();
#else
    return platform::decodeLossless(path.string());
#endif
}

// UTF-16 as the double logs it and the test archive's classes print it: four
// lower-case hex digits a unit, separated by blanks.
inline std::string hexUnits(std::u16string_view text) {
    std::string units;
    for (const char16_t unit : text) {
        constexpr char kHex[] = "0123456789abcdef";
        if (!units.empty()) units += ' ';
        for (int shift = 12; shift >= 0; shift -= 4) units += kHex[(unit >> shift) & 15];
    }
    return units;
}

// The log the double writes (ZEPTEST_JVM_LOG), read whenever asked.
class JvmLog {
public:
    explicit JvmLog(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& path() const { return file_; }
    void clear() const { std::filesystem::remove(file_); }

    std::string text() const { return fileText(file_).value_or(""); }

    // Its lines, without their line feeds; a last line without one is marked.
    Lines lines() const {
        const std::string all = text();
        Lines result;
        for (std::size_t start = 0; start < all.size();) {
            const std::size_t end = all.find('\n', start);
            if (end == std::string::npos) {
                result.push_back(all.substr(start) + "<no line feed>");
                break;
            }
            result.push_back(all.substr(start, end - start));
            start = end + 1;
        }
        return result;
    }

    // The lines of calls, without those of loading and unloading.
    Lines calls() const {
        Lines result;
        for (const std::string& line : lines()) {
            if (!line.starts_with("load ") && line != "unload") result.push_back(line);
        }
        return result;
    }

    // Loads (L), unloads (U) and DestroyJavaVM (D), in order.
    std::string lifecycle() const {
        std::string kinds;
        for (const std::string& line : lines()) {
            if (line.starts_with("load ")) kinds += 'L';
            if (line == "unload") kinds += 'U';
            if (line == "DestroyJavaVM") kinds += 'D';
        }
        return kinds;
    }

    // The path of the first library loaded: the one the search probed.
    std::string firstLoad() const {
        for (const std::string& line : lines()) {
            if (line.starts_with("load ")) return line.substr(5);
        }
        return "";
    }

private:
    std::filesystem::path file_;
};

}  // namespace zep::test
