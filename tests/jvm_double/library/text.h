#pragma once
// How the double writes what it is given into its log, and how it reads the
// modified UTF-8 that JNI hands it.

#include <string>
#include <string_view>

namespace zep::jvm_double {

// Printable ASCII stays as it is, a backslash becomes "\\" and every other byte
// "\xHH", so that a log line never holds a control character or a byte that a
// test would have to guess at.
std::string escape(std::string_view bytes);

// UTF-16 code units as four lower-case hex digits each, separated by single spaces.
std::string hexUnits(std::u16string_view units);

// Lenient, as a JVM is: C0 80 is U+0000, surrogates may come encoded one by
// one, a four-byte sequence becomes a surrogate pair, and a byte that fits no
// sequence becomes U+FFFD.
std::u16string decodeModifiedUtf8(std::string_view bytes);

// UTF-8, except that an unpaired surrogate keeps its own three-byte form, so
// that the log shows it instead of hiding it behind U+FFFD.
std::string encodeUtf8(std::u16string_view units);

}  // namespace zep::jvm_double
