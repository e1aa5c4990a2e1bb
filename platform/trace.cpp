#include "platform/trace.h"

#include "platform/runtime_encoding.h"
#include "platform/standard_error.h"
#include "platform/text.h"

namespace zep::platform {
namespace trace {
namespace {

// A lone U+DC80..U+DCFF in a name stands for a byte that is not UTF-8 on
// POSIX (decodeLossless); on Windows it is a lone surrogate like any other.
#ifdef _WIN32
constexpr bool kNamesHoldBytes = false;
#else
constexpr bool kNamesHoldBytes = true;
#endif

// What may be escaped: a line's own text keeps its quotes and its "<" (the
// escapes of the values in it begin with one), a value shown in it escapes
// them too, so that it can neither seem to end early nor hold a false escape.
enum class Escape { Controls, Value };

// What may not reach the output raw, in any text of a line: what ends a line
// or moves a terminal (the C0 and C1 controls, DEL), and what hides text or
// makes a terminal or an editor show it in another order (the bidirectional
// controls, the zero-width characters, the Unicode line and paragraph
// separators, the byte order mark).
bool isControlOrInvisible(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x200B && c <= 0x200F) || (c >= 0x2028 && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

bool mustEscape(char32_t c, Escape escape) {
    return isControlOrInvisible(c) || (escape == Escape::Value && (c == U'<' || c == U'"'));
}

void appendHex(std::string& out, char32_t value, int digits) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out.push_back(kDigits[(value >> shift) & 0xF]);
}

void appendByte(std::string& out, unsigned byte) {
    out += "<0x";
    appendHex(out, byte, 2);
    out.push_back('>');
}

void appendCodePoint(std::string& out, char32_t c) {
    out += "<U+";
    appendHex(out, c, c > 0xFFFFF ? 6 : (c > 0xFFFF ? 5 : 4));
    out.push_back('>');
}

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// `text` as output bytes, every character that could end the line, move
// the terminal, hide or reorder what the line shows, or pass for an escape
// written as one. A backslash stays as it is, so that a Windows path reads
// as it is typed.
std::string escaped(std::u16string_view text, Escape escape, bool surrogatesAreBytes) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool pair = isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1]);
        const std::size_t length = pair ? 2 : 1;
        if (!pair && (isHighSurrogate(unit) || isLowSurrogate(unit))) {
            if (surrogatesAreBytes && unit >= 0xDC80 && unit <= 0xDCFF) {
                appendByte(out, unit - 0xDC00u);
            } else {
                appendCodePoint(out, unit);
            }
        } else {
            const char32_t c =
                pair ? 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00) : char32_t{unit};
            if (mustEscape(c, escape)) {
                appendCodePoint(out, c);
            } else {
                out += utf16ToUtf8(text.substr(i, length));
            }
        }
        i += length - 1;
    }
    return out;
}

}  // namespace

}  // namespace trace

void Trace::start(const std::optional<std::u16string>& variable) {
    enabled_ = variable && !variable->empty() && *variable != u"0" && standardErrorIsOpen();
    afterMessage_ = false;
}

void Trace::line(std::string_view text) noexcept {
    if (!enabled_) return;
    try {
        std::string bytes = afterMessage_ ? "\nzep: " : "zep: ";
        // What a line says besides its values (a failure's text from the
        // system, a registry key's name) is text as output bytes too: it may
        // not end the line either.
        bytes += trace::escaped(decodeLossless(text), trace::Escape::Controls, true);
        bytes.push_back('\n');
        if (writeStandardErrorDirectly(bytes)) afterMessage_ = false;
    } catch (...) {
        // Dropped: see trace.h.
    }
}

namespace trace {

std::string Stopwatch::elapsed() const {
    const auto taken = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    return std::to_string(taken.count()) + " ms";
}

std::string text(std::u16string_view text) { return kNamesHoldBytes ? encodeLossless(text) : utf16ToUtf8(text); }

std::string quoted(std::u16string_view text) { return '"' + bare(text) + '"'; }

std::string bare(std::u16string_view text) { return escaped(text, Escape::Value, kNamesHoldBytes); }

std::string runtimeText(std::string_view bytes) {
    if (runtimeReadsUtf8()) return escaped(decodeLossless(bytes), Escape::Value, true);
    std::string out;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x80) {
            appendByte(out, value);
        } else if (mustEscape(value, Escape::Value)) {
            appendCodePoint(out, value);
        } else {
            out.push_back(byte);
        }
    }
    return out;
}

}  // namespace trace
}  // namespace zep::platform
