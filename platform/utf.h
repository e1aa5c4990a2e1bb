#pragma once
// Conversions between the launcher's UTF-16 text and UTF-8. They are used at the
// edges only: POSIX argv and environment in, JVM option strings out.

#include <cstddef>
#include <string>
#include <string_view>

namespace zep::platform {

// Decodes UTF-8. Each maximal ill-formed subsequence (a stray byte, a cut-off
// sequence, an overlong form, an encoded surrogate, a value above U+10FFFF)
// becomes one U+FFFD, as the Unicode standard recommends.
std::u16string utf8ToUtf16(std::string_view text);

// Encodes UTF-16 the way WideCharToMultiByte(CP_UTF8, 0, ...) does: a surrogate
// pair becomes one 4-byte sequence and an unpaired surrogate becomes U+FFFD
// (EF BF BD). Writes at most 3 bytes per code unit to `out` and returns the
// number written; no terminator is added unless the input holds one.
std::size_t utf16ToUtf8(std::u16string_view text, char* out);

std::string utf16ToUtf8(std::u16string_view text);

}  // namespace zep::platform
