#pragma once
// The double's log: one line per event, in the file that ZEPTEST_JVM_LOG names
// at the moment of the event.

#include <string_view>

namespace zep::jvm_double {

// Exit codes by which the double ends a process that misused it.
inline constexpr int kExitDoubleMisused = 97;  // an unknown failure switch, a log it cannot write
inline constexpr int kExitBadHandle = 98;
inline constexpr int kExitTrap = 99;

// Appends `line` and a line feed. A log that is asked for but cannot be written
// ends the process (kExitDoubleMisused): a test reading a log with missing
// lines would otherwise draw the wrong conclusion.
void record(std::string_view line);

// Records `line`, writes `message` and a line feed to standard error and ends
// the process with `code` on the spot.
[[noreturn]] void die(int code, std::string_view line, std::string_view message);

}  // namespace zep::jvm_double
