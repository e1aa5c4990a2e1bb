#include "text.h"

#include <cstdint>

namespace zep::jvm_double {
namespace {

constexpr char kHexUpper[] = "0123456789ABCDEF";
constexpr char kHexLower[] = "0123456789abcdef";

bool isContinuation(std::string_view bytes, std::size_t at) {
    return at < bytes.size() && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80;
}

unsigned payload(std::string_view bytes, std::size_t at) { return static_cast<unsigned char>(bytes[at]) & 0x3Fu; }

void appendCodePoint(std::string& out, std::uint32_t value) {
    if (value < 0x80) {
        out.push_back(static_cast<char>(value));
    } else if (value < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (value >> 6)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else if (value < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (value >> 12)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (value >> 18)));
        out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
}

}  // namespace

std::string escape(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte >= 0x20 && byte <= 0x7E) {
            out.push_back(c);
        } else {
            out += "\\x";
            out.push_back(kHexUpper[byte >> 4]);
            out.push_back(kHexUpper[byte & 0x0F]);
        }
    }
    return out;
}

std::string hexUnits(std::u16string_view units) {
    std::string out;
    for (char16_t unit : units) {
        if (!out.empty()) out.push_back(' ');
        for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHexLower[(unit >> shift) & 0x0F]);
    }
    return out;
}

std::u16string decodeModifiedUtf8(std::string_view bytes) {
    std::u16string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out.push_back(lead);
            i += 1;
        } else if ((lead & 0xE0) == 0xC0 && isContinuation(bytes, i + 1)) {
            out.push_back(static_cast<char16_t>(((lead & 0x1Fu) << 6) | payload(bytes, i + 1)));
            i += 2;
        } else if ((lead & 0xF0) == 0xE0 && isContinuation(bytes, i + 1) && isContinuation(bytes, i + 2)) {
            out.push_back(
                static_cast<char16_t>(((lead & 0x0Fu) << 12) | (payload(bytes, i + 1) << 6) | payload(bytes, i + 2)));
            i += 3;
        } else if ((lead & 0xF8) == 0xF0 && isContinuation(bytes, i + 1) && isContinuation(bytes, i + 2) &&
                   isContinuation(bytes, i + 3)) {
            const std::uint32_t value = ((lead & 0x07u) << 18) | (payload(bytes, i + 1) << 12) |
                                        (payload(bytes, i + 2) << 6) | payload(bytes, i + 3);
            if (value >= 0x10000 && value <= 0x10FFFF) {
                out.push_back(static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10)));
                out.push_back(static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF)));
            } else {
                out.push_back(u'\uFFFD');
            }
            i += 4;
        } else {
            out.push_back(u'\uFFFD');
            i += 1;
        }
    }
    return out;
}

std::string encodeUtf8(std::u16string_view units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            appendCodePoint(out, 0x10000 + ((std::uint32_t(unit) - 0xD800) << 10) + (units[i + 1] - 0xDC00u));
            ++i;
        } else {
            appendCodePoint(out, unit);
        }
    }
    return out;
}

}  // namespace zep::jvm_double
