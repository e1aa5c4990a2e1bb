#pragma once
#include <optional>
#include <string>

namespace zep {

// The full path of the JVM library of a usable Java runtime on this machine,
// nullopt when there is none. Prints nothing; keeps nothing loaded.
std::optional<std::u16string> findJavaRuntime();

}  // namespace zep
