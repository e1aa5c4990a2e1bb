#pragma once
// Turns a fuzzer's bytes into the launcher's inputs: UTF-16 code units, two
// bytes each, little-endian; a zero unit ends one argument.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zep::fuzz {

inline std::u16string units(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

inline std::vector<std::u16string> arguments(const std::uint8_t* data, std::size_t size) {
    std::vector<std::u16string> list{u"zep"};
    std::u16string current;
    for (char16_t unit : units(data, size)) {
        if (unit == u'\0') {
            list.push_back(current);
            current.clear();
        } else {
            current.push_back(unit);
        }
    }
    list.push_back(current);
    return list;
}

// Traps, so the fuzzer records the input, when a property fails.
inline void require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace zep::fuzz
