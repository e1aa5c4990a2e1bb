#pragma once
// A file's bytes, read whole, for the tests that compare or search them.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace zep::test {

// nullopt when the file cannot be opened, so that two missing files never
// compare equal as two empty ones.
inline std::optional<std::string> fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace zep::test
