#include "platform/windows/win32.h"
#include "tests/support/environment.h"

namespace zep::test {

std::optional<std::u16string> environmentVariable(const std::u16string& name) {
    std::u16string value;
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD capacity = static_cast<DWORD>(value.size());
        const DWORD length = ::GetEnvironmentVariableW(
            platform::wide(name), capacity == 0 ? nullptr : reinterpret_cast<wchar_t*>(value.data()), capacity);
        if (length == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::u16string();
        }
        if (length < capacity) {
            value.resize(length);
            return value;
        }
        value.assign(length, u'\0');
    }
}

void setEnvironmentVariable(const std::u16string& name, const std::optional<std::u16string>& value) {
    ::SetEnvironmentVariableW(platform::wide(name), value ? platform::wide(*value) : nullptr);
}

}  // namespace zep::test
