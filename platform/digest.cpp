#include "platform/digest.h"

#include <bit>
#include <cstring>

namespace zep::platform {
namespace {

constexpr std::uint64_t kPrime1 = 0x9e3779b185ebca87;
constexpr std::uint64_t kPrime2 = 0xc2b2ae3d27d4eb4f;
constexpr std::uint64_t kPrime3 = 0x165667b19e3779f9;
constexpr std::uint64_t kPrime4 = 0x85ebca77c2b2ae63;

std::uint64_t load64(const unsigned char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    // Little-endian on every system, so that every build names a file alike.
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
}

std::uint64_t mixLane(std::uint64_t lane, std::uint64_t word) { return std::rotl(lane + word * kPrime2, 31) * kPrime1; }

}  // namespace

const unsigned char* Digest::rounds(const unsigned char* next, std::size_t blocks) {
    // Four independent lanes in registers keep the processor's multipliers
    // busy: an archive of megabytes is checked at every start.
    std::uint64_t a = lanes_[0], b = lanes_[1], c = lanes_[2], d = lanes_[3];
    for (; blocks > 0; --blocks, next += kBlock) {
        a = mixLane(a, load64(next));
        b = mixLane(b, load64(next + 8));
        c = mixLane(c, load64(next + 16));
        d = mixLane(d, load64(next + 24));
    }
    lanes_ = {a, b, c, d};
    return next;
}

void Digest::add(std::string_view bytes) {
    const auto* next = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t left = bytes.size();
    total_ += left;
    if (pendingSize_ > 0) {
        const std::size_t taken = std::min(left, pending_.size() - pendingSize_);
        std::memcpy(pending_.data() + pendingSize_, next, taken);
        pendingSize_ += taken;
        next += taken;
        left -= taken;
        if (pendingSize_ < pending_.size()) return;
        rounds(pending_.data(), 1);
        pendingSize_ = 0;
    }
    next = rounds(next, left / kBlock);
    left %= kBlock;
    std::memcpy(pending_.data(), next, left);
    pendingSize_ = left;
}

std::uint64_t Digest::value() const {
    std::uint64_t hash =
        std::rotl(lanes_[0], 1) + std::rotl(lanes_[1], 7) + std::rotl(lanes_[2], 12) + std::rotl(lanes_[3], 18);
    for (const std::uint64_t lane : lanes_) hash = (hash ^ mixLane(0, lane)) * kPrime1 + kPrime4;
    hash += total_;
    for (std::size_t i = 0; i < pendingSize_; ++i) hash = std::rotl(hash ^ (pending_[i] * kPrime1), 11) * kPrime3;
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    hash ^= hash >> 32;
    return hash;
}

std::string toHex(std::uint64_t left) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (std::size_t i = text.size(); i-- > 0; left >>= 4) text[i] = kDigits[left & 0xf];
    return text;
}

}  // namespace zep::platform
