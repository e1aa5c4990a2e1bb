#pragma once
// A fast 64-bit digest of bytes, to tell one file's contents or one set of
// facts from another: not cryptographic (nothing here defends against a
// person choosing colliding inputs), but any accidental change to the input
// (a cut, a flipped byte, another file) gives another value. The same on
// every system and every build, so what one start records another can check.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zep::platform {

// `value` as 16 lower-case hexadecimal digits, for a file's name.
std::string toHex(std::uint64_t value);

class Digest {
public:
    // Takes the next bytes; pieces of any size give what the whole would.
    void add(std::string_view bytes);
    std::uint64_t value() const;
    std::string hex() const { return toHex(value()); }

private:
    static constexpr std::size_t kBlock = 32;
    // Takes `blocks` whole blocks from `next`; returns what follows them.
    const unsigned char* rounds(const unsigned char* next, std::size_t blocks);

    std::array<std::uint64_t, 4> lanes_{0x60ea27eeadc0b5d6, 0xc2b2ae3d27d4eb4f, 0, 0x61c8864e7a143579};
    std::array<unsigned char, kBlock> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t total_ = 0;
};

}  // namespace zep::platform
