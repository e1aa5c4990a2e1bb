#pragma once
// Text as the Java runtime reads it. The JNI invocation interface takes option
// strings in the platform's encoding, and a runtime decodes -D values with it;
// program arguments reach Java as UTF-16 and need no code page at all.

#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace zep::platform {

// The system could not convert a text. Not a runtime error: it is no failure
// of the launch the launcher reports as such, and ends in "Unexpected failure.".
class ConversionError : public std::exception {
public:
    const char* what() const noexcept override { return "text conversion failed"; }
};

// An option from the command line as the bytes its runtime decodes: on Windows
// the process's ANSI code page, a character it lacks becoming '?' rather than a
// look-alike; on POSIX the bytes of the argument exactly as they came. Throws
// ConversionError.
std::string toRuntimeEncoding(std::u16string_view option);

// The same for a text that must reach the runtime whole, a path above all:
// nullopt where the encoding lacks one of its characters (Windows); on POSIX
// the path's own bytes.
std::optional<std::string> exactlyInRuntimeEncoding(std::u16string_view text);

// A program argument as the Java program receives it. On Windows the command
// line's own UTF-16; on POSIX the argument's bytes decoded as `java` decodes
// them, an ill-formed sequence becoming U+FFFD.
std::u16string programArgumentText(std::u16string_view argument);

// What the runtime printed (through its vfprintf hook) as text: on Windows
// its bytes decoded from the ANSI code page, on POSIX from UTF-8, what is not
// valid there becoming U+FFFD.
std::u16string fromRuntimeEncoding(std::string_view bytes);

// True when the options' bytes are best shown as UTF-8 (what is not UTF-8
// among them byte by byte): on POSIX, where they are the arguments' own
// bytes; on Windows when the ANSI code page is UTF-8.
bool runtimeReadsUtf8();

}  // namespace zep::platform
