#pragma once
// This test process's own environment, where the code under test and the
// libraries it loads read it.

#include <optional>
#include <string>

#include "tests/support/real_system.h"

namespace zep::test {

// The variable's value, read as the launcher reads it; nullopt when it is
// not set.
inline std::optional<std::u16string> environmentVariable(const std::u16string& name) {
    return RealSystem().machine.environmentVariable(name);
}

// Sets (a value) or removes (nullopt) a variable.
void setEnvironmentVariable(const std::u16string& name, const std::optional<std::u16string>& value);

// Sets a variable for as long as it lives, then puts back what was there, so
// that no test leaves its setting to the next.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(std::u16string name, const std::optional<std::u16string>& value)
        : name_(std::move(name)), saved_(environmentVariable(name_)) {
        setEnvironmentVariable(name_, value);
    }
    ~ScopedEnvironmentVariable() { setEnvironmentVariable(name_, saved_); }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::u16string name_;
    std::optional<std::u16string> saved_;
};

}  // namespace zep::test
