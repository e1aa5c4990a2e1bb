#include "platform/runtime_encoding.h"

#include "platform/text.h"

namespace zep::platform {

// The entry point decodes argv losslessly, so encoding gives back its bytes.
std::string toRuntimeEncoding(std::u16string_view option) { return encodeLossless(option); }

std::optional<std::string> exactlyInRuntimeEncoding(std::u16string_view text) { return encodeLossless(text); }

std::u16string fromRuntimeEncoding(std::string_view bytes) { return utf8ToUtf16(bytes); }

std::u16string programArgumentText(std::u16string_view argument) { return utf8ToUtf16(encodeLossless(argument)); }

bool runtimeReadsUtf8() { return true; }

}  // namespace zep::platform
