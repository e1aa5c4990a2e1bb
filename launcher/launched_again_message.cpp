#include "launcher/launched_again_message.h"

#include <cstdint>

namespace zep {
namespace {

constexpr std::string_view kMagic = "ZEP1";

void put32(std::string& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((value >> shift) & 0xFF);
}

// Reads from the front of `bytes`, which it shortens; nothing once short.
class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    std::optional<std::uint32_t> u32() {
        if (rest_.size() < 4) return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(rest_[static_cast<std::size_t>(i)]);
        rest_.remove_prefix(4);
        return value;
    }

    std::optional<std::u16string> text() {
        const std::optional<std::uint32_t> units = u32();
        if (!units || *units > rest_.size() / 2) return std::nullopt;
        std::u16string text(*units, u'\0');
        for (char16_t& unit : text) {
            unit = static_cast<char16_t>(static_cast<unsigned char>(rest_[0]) |
                                         (static_cast<unsigned>(static_cast<unsigned char>(rest_[1])) << 8));
            rest_.remove_prefix(2);
        }
        return text;
    }

    bool atEnd() const noexcept { return rest_.empty(); }

private:
    std::string_view rest_;
};

bool wellFormed(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> encodeMessage(const LaunchedAgainMessage& message) {
    // The running one would refuse it: better to know now.
    if (!wellFormed(message.workingDirectory)) return std::nullopt;
    for (const std::u16string& argument : message.arguments) {
        if (!wellFormed(argument)) return std::nullopt;
    }
    std::string rest;
    put32(rest, static_cast<std::uint32_t>(message.arguments.size() + 1));
    const auto putText = [&](std::u16string_view text) {
        put32(rest, static_cast<std::uint32_t>(text.size()));
        for (const char16_t unit : text) {
            rest += static_cast<char>(unit & 0xFF);
            rest += static_cast<char>(unit >> 8);
        }
    };
    putText(message.workingDirectory);
    for (const std::u16string& argument : message.arguments) {
        if (rest.size() > kMessageLimit) return std::nullopt;
        putText(argument);
    }
    if (rest.size() > kMessageLimit) return std::nullopt;
    std::string bytes(kMagic);
    put32(bytes, static_cast<std::uint32_t>(rest.size()));
    return bytes + rest;
}

std::optional<std::size_t> announcedLength(std::string_view header) {
    if (header.size() != kHeaderSize || !header.starts_with(kMagic)) return std::nullopt;
    const std::optional<std::uint32_t> length = Reader(header.substr(kMagic.size())).u32();
    if (!length || *length > kMessageLimit) return std::nullopt;
    return *length;
}

std::optional<LaunchedAgainMessage> decodeMessage(std::string_view rest) {
    Reader reader(rest);
    const std::optional<std::uint32_t> count = reader.u32();
    // Each text takes at least its length's four bytes.
    if (!count || *count == 0 || *count > rest.size() / 4) return std::nullopt;
    LaunchedAgainMessage message;
    for (std::uint32_t i = 0; i < *count; ++i) {
        std::optional<std::u16string> text = reader.text();
        if (!text || !wellFormed(*text)) return std::nullopt;
        if (i == 0) {
            message.workingDirectory = std::move(*text);
        } else {
            message.arguments.push_back(std::move(*text));
        }
    }
    if (!reader.atEnd()) return std::nullopt;
    return message;
}

}  // namespace zep
