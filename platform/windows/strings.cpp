#include <array>
#include <optional>

#include "platform/string_entry.h"
#include "platform/strings.h"
#include "platform/windows/win32.h"

namespace zep::platform {
namespace {

// Wine's SetThreadUILanguage changes nothing, and its LoadStringW follows the
// user's language only; so the thread's choice is kept here as well and its
// string block is looked up by language.
thread_local std::optional<LANGID> selectedLanguage;

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

void setThreadUiLanguage(std::uint16_t langid) {
    ::SetThreadUILanguage(langid);
    selectedLanguage = langid;
}

std::u16string loadString(unsigned id) {
    if (selectedLanguage) {
        if (const auto entry = entryInLanguage(id, *selectedLanguage)) return textAsLoaded(*entry);
    }
    // The platform's own choice of copy, and its fallbacks.
    std::array<wchar_t, kStringBufferUnits> buffer{};
    ::LoadStringW(nullptr, id, buffer.data(), static_cast<int>(buffer.size()));
    return fromWide(buffer.data());
}

}  // namespace zep::platform
