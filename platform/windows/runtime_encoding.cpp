#include "platform/runtime_encoding.h"

#include "platform/text.h"
#include "platform/windows/code_page.h"
#include "platform/windows/win32.h"

namespace zep::platform {

std::string toCodePage(std::u16string_view text, unsigned codePage) {
    if (text.empty()) return {};
    // Windows refuses WC_NO_BEST_FIT_CHARS for UTF-8, which has no best fit to avoid.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(codePage, flags, units, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) throw ConversionError();
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (::WideCharToMultiByte(codePage, flags, units, length, bytes.data(), size, nullptr, nullptr) != size) {
        throw ConversionError();
    }
    return bytes;
}

std::string toRuntimeEncoding(std::u16string_view option) { return toCodePage(option, ::GetACP()); }

std::optional<std::string> exactlyInRuntimeEncoding(std::u16string_view text) {
    if (text.empty()) return std::string();
    const UINT codePage = ::GetACP();
    // UTF-8 lacks nothing but a lone surrogate; any other code page tells
    // whether it had to put its default character in.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    BOOL defaulted = FALSE;
    BOOL* const lacks = utf8 ? nullptr : &defaulted;
    const int size = ::WideCharToMultiByte(codePage, flags, units, length, nullptr, 0, nullptr, lacks);
    if (size <= 0 || defaulted) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (::WideCharToMultiByte(codePage, flags, units, length, bytes.data(), size, nullptr, lacks) != size ||
        defaulted) {
        return std::nullopt;
    }
    return bytes;
}

std::u16string fromRuntimeEncoding(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (size <= 0) return utf8ToUtf16(bytes);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), size);
    return fromWide(text);
}

std::u16string programArgumentText(std::u16string_view argument) { return std::u16string(argument); }

bool runtimeReadsUtf8() { return ::GetACP() == CP_UTF8; }

}  // namespace zep::platform
