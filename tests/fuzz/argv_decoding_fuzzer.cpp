// Decoding a POSIX argument (any bytes): as text, the result is well-formed
// UTF-16, and a text that was well-formed UTF-8 comes back byte for byte; the
// lossless decoding gives back every byte sequence exactly.

#include <cstdint>
#include <string>

#include "platform/text.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zep::fuzz::require;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string text = zep::platform::utf8ToUtf16(bytes);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF) {
            require(i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF);
            ++i;
        } else {
            require(text[i] < 0xDC00 || text[i] > 0xDFFF);
        }
    }
    const std::string encoded = zep::platform::utf16ToUtf8(text);
    require(zep::platform::utf8ToUtf16(encoded) == text);
    if (text.find(u'\uFFFD') == std::u16string::npos) require(encoded == bytes);
    require(text.size() <= bytes.size());
    require(zep::platform::encodeLossless(zep::platform::decodeLossless(bytes)) == bytes);
    return 0;
}
