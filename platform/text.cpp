#include "platform/text.h"

namespace zep::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

void appendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// The next sequence of `bytes` from `i`: its code point and length, or, for
// a maximal ill-formed subsequence, no code point and that subsequence's length.
struct Sequence {
    bool wellFormed;
    char32_t codePoint;
    std::size_t length;
};

Sequence nextSequence(std::string_view text, std::size_t i) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char lead = bytes[i];
    if (lead < 0x80) return {true, lead, 1};
    // Length of the sequence and the range its second byte must lie in; the
    // narrowed ranges rule out overlong forms and values past U+10FFFF.
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {false, 0, 1};
    }
    for (std::size_t taken = 1; taken < length; ++taken) {
        if (i + taken >= text.size()) return {false, 0, taken};
        const unsigned char byte = bytes[i + taken];
        const bool inRange = taken == 1 ? (byte >= low && byte <= high) : isContinuation(byte);
        if (!inRange) return {false, 0, taken};
        cp = (cp << 6) | (byte & 0x3F);
    }
    // An encoded surrogate (ED A0..BF xx, as CESU-8 and Java's modified UTF-8
    // write one) is one ill-formed sequence, as `java` reads its arguments,
    // not three stray bytes as the Unicode standard would have it.
    if (cp >= 0xD800 && cp <= 0xDFFF) return {false, 0, length};
    return {true, cp, length};
}

// Decodes `text`, handing each ill-formed subsequence to `replace`.
template <typename Replace>
std::u16string decode(std::string_view text, Replace replace) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Sequence sequence = nextSequence(text, i);
        if (sequence.wellFormed) {
            appendCodePoint(out, sequence.codePoint);
        } else {
            replace(out, text.substr(i, sequence.length));
        }
        i += sequence.length;
    }
    return out;
}

// Surrogates that stand for the bytes 0x80..0xFF in a lossless decoding.
constexpr char16_t kEscapeBase = 0xDC00;
bool isEscape(char16_t unit) { return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF; }

// Encodes `text` as UTF-8 into `out`; `lone` decides the bytes of an unpaired
// surrogate. Returns the number of bytes written.
template <typename Lone>
std::size_t encode(std::u16string_view text, char* out, Lone lone) {
    std::size_t written = 0;
    auto put = [&](unsigned value) { out[written++] = static_cast<char>(value); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            if (const int byte = lone(text[i]); byte >= 0) {
                put(static_cast<unsigned>(byte));
                continue;
            }
            cp = kReplacement;
        }
        if (cp < 0x80) {
            put(cp);
        } else if (cp < 0x800) {
            put(0xC0 | (cp >> 6));
            put(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            put(0xE0 | (cp >> 12));
            put(0x80 | ((cp >> 6) & 0x3F));
            put(0x80 | (cp & 0x3F));
        } else {
            put(0xF0 | (cp >> 18));
            put(0x80 | ((cp >> 12) & 0x3F));
            put(0x80 | ((cp >> 6) & 0x3F));
            put(0x80 | (cp & 0x3F));
        }
    }
    return written;
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view text) {
    return decode(text, [](std::u16string& out, std::string_view) { out.push_back(kReplacement); });
}

std::u16string decodeLossless(std::string_view bytes) {
    return decode(bytes, [](std::u16string& out, std::string_view ill) {
        for (const char byte : ill)
            out.push_back(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(byte)));
    });
}

std::size_t utf16ToUtf8(std::u16string_view text, char* out) {
    return encode(text, out, [](char16_t) { return -1; });
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out(text.size() * 3, '\0');
    out.resize(utf16ToUtf8(text, out.data()));
    return out;
}

std::string encodeLossless(std::u16string_view text) {
    std::string out(text.size() * 3, '\0');
    out.resize(encode(text, out.data(), [](char16_t unit) { return isEscape(unit) ? unit - kEscapeBase : -1; }));
    return out;
}

std::size_t wellFormedUtf8Length(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const Sequence sequence = nextSequence(bytes, i);
        if (!sequence.wellFormed) break;
        i += sequence.length;
    }
    return i;
}

bool hasPrefixIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (asciiLower(text[i]) != asciiLower(prefix[i])) return false;
    }
    return true;
}

}  // namespace zep::platform
