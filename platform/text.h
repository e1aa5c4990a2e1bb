#pragma once
// The launcher's text: UTF-16 inside, and the conversions to and from bytes
// used at the edges only (POSIX argv, environment and file names in and out,
// JVM option strings out).

#include <cstddef>
#include <string>
#include <string_view>

namespace zep::platform {

// Decodes UTF-8 as `java` decodes its arguments. Each maximal ill-formed
// subsequence (a stray byte, a cut-off sequence, an overlong form, a value
// above U+10FFFF) becomes one U+FFFD, as the Unicode standard recommends; an
// encoded surrogate (ED A0..BF and what continues it, up to three bytes) is
// one such sequence too, where the standard would see one a byte. For text
// that is shown or handed on as text.
std::u16string utf8ToUtf16(std::string_view text);

// Encodes UTF-16 the way WideCharToMultiByte(CP_UTF8, 0, ...) does: a surrogate
// pair becomes one 4-byte sequence and an unpaired surrogate becomes U+FFFD
// (EF BF BD). Writes at most 3 bytes per code unit to `out` and returns the
// number written; no terminator is added unless the input holds one.
std::size_t utf16ToUtf8(std::u16string_view text, char* out);

std::string utf16ToUtf8(std::u16string_view text);

// Decodes bytes that name things (paths, environment values, options) so that
// encodeLossless gives them back exactly: well-formed UTF-8 is decoded, and
// every byte of an ill-formed subsequence becomes the lone surrogate
// U+DC80..U+DCFF of its value. Encoded surrogates count as ill-formed, so no
// decoded text can hold such a surrogate that did not stand for a byte.
std::u16string decodeLossless(std::string_view bytes);

// The inverse of decodeLossless: as utf16ToUtf8, except that a lone
// U+DC80..U+DCFF becomes the byte it stands for.
std::string encodeLossless(std::u16string_view text);

// The length of the longest prefix of `bytes` that is well-formed UTF-8: the
// whole length when all of it is (overlong forms, encoded surrogates and
// values past U+10FFFF are not).
std::size_t wellFormedUtf8Length(std::string_view bytes);

// `unit` in lower case when it is an ASCII capital letter; as it is otherwise.
constexpr char16_t asciiLower(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

// True when `text` starts with `prefix`, ignoring the case of ASCII letters
// (and only of those).
bool hasPrefixIgnoreCase(std::u16string_view text, std::u16string_view prefix);

}  // namespace zep::platform
