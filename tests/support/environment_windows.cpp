#include "platform/windows/win32.h"
#include "tests/support/environment.h"

namespace zep::test {

void setEnvironmentVariable(const std::u16string& name, const std::optional<std::u16string>& value) {
    ::SetEnvironmentVariableW(platform::wide(name), value ? platform::wide(*value) : nullptr);
}

}  // namespace zep::test
