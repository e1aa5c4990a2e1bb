#include "platform/trace.h"

#include "platform/runtime_text.h"
#include "platform/standard_error.h"
#include "platform/system_access.h"
#include "platform/text.h"

namespace zep::platform::trace {
namespace {

bool enabled = false;
bool afterMessage = false;

// A lone U+DC80..U+DCFF in a name stands for a byte that is not UTF-8 on
// POSIX (decodeLossless); on Windows it is a lone surrogate like any other.
#ifdef _WIN32
constexpr bool kNamesHoldBytes = false;
#else
constexpr bool kNamesHoldBytes = true;
#endif

// What may be escaped: a line's own text keeps its backslashes and quotes,
// a value shown in it escapes them too, so that it cannot seem to end early.
enum class Escape { Controls, Value };

void appendHex(std::string& out, unsigned value, int digits) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out.push_back(kDigits[(value >> shift) & 0xF]);
}

void appendByte(std::string& out, unsigned byte) {
    out += "\\x";
    appendHex(out, byte, 2);
}

void appendUnit(std::string& out, unsigned unit) {
    out += "\\u{";
    appendHex(out, unit, 4);
    out.push_back('}');
}

// `text` as output bytes, every character that could end the line, move
// the terminal or pass for something else written as an escape.
std::string escaped(std::u16string_view text, Escape escape, bool surrogatesAreBytes) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out += utf16ToUtf8(text.substr(i, 2));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            if (surrogatesAreBytes && unit >= 0xDC80 && unit <= 0xDCFF) {
                appendByte(out, unit - 0xDC00u);
            } else {
                appendUnit(out, unit);
            }
        } else if (unit == u'\n') {
            out += "\\n";
        } else if (unit == u'\r') {
            out += "\\r";
        } else if (unit == u'\t') {
            out += "\\t";
        } else if (unit < 0x20 || unit == 0x7F) {
            appendByte(out, unit);
        } else if (unit >= 0x80 && unit <= 0x9F) {
            appendUnit(out, unit);
        } else if (escape == Escape::Value && (unit == u'\\' || unit == u'"')) {
            out.push_back('\\');
            out.push_back(static_cast<char>(unit));
        } else {
            out += utf16ToUtf8(text.substr(i, 1));
        }
    }
    return out;
}

}  // namespace

void start() {
    const auto value = systemAccess().environmentVariable(u"QRVN_ZEP_TRACE");
    enabled = value && !value->empty() && *value != u"0" && standardErrorIsOpen();
    afterMessage = false;
}

bool on() noexcept { return enabled; }

void line(std::string_view text) noexcept {
    if (!enabled) return;
    try {
        std::string bytes = afterMessage ? "\nzep: " : "zep: ";
        // What a line says besides its values (a failure's text from the
        // system, a registry key's name) is text as output bytes too: it may
        // not end the line either.
        bytes += escaped(decodeLossless(text), Escape::Controls, true);
        bytes.push_back('\n');
        if (writeStandardErrorDirectly(bytes)) afterMessage = false;
    } catch (...) {
        // Dropped: see trace.h.
    }
}

void messageWritten() noexcept { afterMessage = true; }

std::string Stopwatch::elapsed() const {
    const auto taken = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    return std::to_string(taken.count()) + " ms";
}

std::string quoted(std::u16string_view text) { return '"' + escaped(text, Escape::Value, kNamesHoldBytes) + '"'; }

std::string runtimeText(std::string_view bytes) {
    if (runtimeReadsUtf8()) return escaped(decodeLossless(bytes), Escape::Value, true);
    std::string out;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x80) {
            appendByte(out, value);
        } else {
            out += escaped(std::u16string(1, static_cast<char16_t>(value)), Escape::Value, false);
        }
    }
    return out;
}

}  // namespace zep::platform::trace
