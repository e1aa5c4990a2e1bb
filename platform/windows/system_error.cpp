#include "platform/windows/system_error.h"

#include "platform/text.h"
#include "platform/windows/owned.h"

namespace zep::platform {

std::string systemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const UniqueLocalMemory owned(text);
    if (length == 0 || text == nullptr) return {};
    std::u16string message;
    for (const char16_t unit : fromWide({text, length})) {
        const bool lineEnd = unit == u'\r' || unit == u'\n';
        if (!lineEnd) {
            message.push_back(unit);
        } else if (!message.empty() && message.back() != u' ') {
            message.push_back(u' ');
        }
    }
    while (!message.empty() && message.back() == u' ') message.pop_back();
    return utf16ToUtf8(message);
}

std::string errorCodeText(DWORD error) {
    std::string text = "error " + std::to_string(error);
    if (const std::string said = systemErrorText(error); !said.empty()) text += ": " + said;
    return text;
}

}  // namespace zep::platform
