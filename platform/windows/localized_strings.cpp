#include <array>
#include <optional>

#include "platform/localized_strings.h"
#include "platform/string_entry.h"
#include "platform/windows/win32.h"

namespace zep::platform {
namespace {

std::optional<std::u16string_view> entryInLanguage(unsigned id, LANGID langid) {
    HRSRC found = ::FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), langid);
    if (found == nullptr) return std::nullopt;
    // Resource memory is part of the mapped executable: nothing to release.
    HGLOBAL loaded = ::LoadResource(nullptr, found);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) return std::nullopt;
    const std::u16string_view block(static_cast<const char16_t*>(data),
                                    ::SizeofResource(nullptr, found) / sizeof(char16_t));
    return stringBlockEntry(block, id);
}

}  // namespace

void setThreadUiLanguage(LanguageId langid) { ::SetThreadUILanguage(langid); }

std::u16string loadString(unsigned id, std::optional<LanguageId> language) {
    // A chosen language's string block is looked up by language: Wine's
    // SetThreadUILanguage changes nothing, and its LoadStringW follows the
    // user's language only.
    if (language) {
        if (const auto entry = entryInLanguage(id, *language)) return textAsLoaded(*entry);
    }
    // The platform's own choice of copy, and its fallbacks.
    std::array<wchar_t, kStringBufferUnits> buffer{};
    ::LoadStringW(nullptr, id, buffer.data(), static_cast<int>(buffer.size()));
    return fromWide(buffer.data());
}

}  // namespace zep::platform
