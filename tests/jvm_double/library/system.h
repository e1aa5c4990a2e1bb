#pragma once
// What the double needs from the operating system. system_windows.cpp and
// system_posix.cpp implement it; CMake picks one.

#include <optional>
#include <string>
#include <string_view>

namespace zep::jvm_double {

// The variable's value as UTF-8; nullopt when it is not set.
std::optional<std::string> environmentVariable(const char* name);

// Appends `bytes` to the file that ZEPTEST_JVM_LOG names, opening and closing
// it around a single write so that a record survives the process dying right
// after. True when written, or when there is no log to write to.
bool appendToLog(std::string_view bytes);

// Straight to the process's standard error, with no buffer in between that an
// abrupt end could lose.
void writeStandardError(std::string_view text);

// Windows: loads <bin>\zeptest_late.dll of the runtime this library belongs
// to (<bin>\server\jvm.dll) by its full path, the plain way a JVM loads its
// own libraries once it runs (java.dll, awt.dll), releases it again and says
// how that went, as the line to log.
std::string loadLateLibrary();

// Ends the process on the spot: no exit handlers, no library unload, as a
// crashed or killed JVM would.
[[noreturn]] void endProcessNow(int code);

}  // namespace zep::jvm_double
