#pragma once
#include <optional>
#include <string>

namespace zep::test {

// Sets (a value) or removes (nullopt) a variable of this process's own
// environment, where a library loaded into the process reads it.
void setEnvironmentVariable(const std::u16string& name, const std::optional<std::u16string>& value);

}  // namespace zep::test
