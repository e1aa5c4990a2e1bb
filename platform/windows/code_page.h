#pragma once
#include <string>
#include <string_view>

namespace zep::platform {

// `text` in the ANSI code page `codePage`, as a runtime that reads its options
// in that code page needs it. UTF-8 (65001), a system-wide choice Windows
// offers, is converted as such; any other code page without best-fit mapping,
// so that a character it lacks becomes the default character ('?') and never
// a look-alike quote, slash or dash. Throws ConversionError.
std::string toCodePage(std::u16string_view text, unsigned codePage);

}  // namespace zep::platform
