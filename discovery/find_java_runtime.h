#pragma once
#include <string>

namespace zep {

// The full path of the JVM library of a usable Java runtime on this machine,
// or empty when there is none. Prints nothing; keeps nothing loaded.
std::u16string findJavaRuntime();

}  // namespace zep
