#include <cstdlib>

#include "platform/text.h"
#include "tests/support/environment.h"

namespace zep::test {

void setEnvironmentVariable(const std::u16string& name, const std::optional<std::u16string>& value) {
    const std::string narrowName = platform::utf16ToUtf8(name);
    if (value) {
        ::setenv(narrowName.c_str(), platform::encodeLossless(*value).c_str(), 1);
    } else {
        ::unsetenv(narrowName.c_str());
    }
}

}  // namespace zep::test
