#pragma once
// The launch trace: with QRVN_ZEP_TRACE set (not empty, not "0"), the launcher
// tells on standard error what it does, one line per step, each beginning with
// "zep: ". The lines are written straight to the descriptor, as the messages
// are, never through the C++ stream, whose first failed write would silence
// every later one; a line that cannot be written is dropped. The trace
// changes what is written, never what is done.

#include <atomic>
#include <chrono>
#include <concepts>
#include <optional>
#include <string>
#include <string_view>

namespace zep::platform {

// The trace of one launch, made by the entry point and lent to every step
// that has something to tell. Off until started.
class Trace {
public:
    // Decides, once at the start of a launch, whether the trace is on: only
    // when `variable` (the value of QRVN_ZEP_TRACE) asks for it and standard
    // error is open.
    void start(const std::optional<std::u16string>& variable);

    bool on() const noexcept { return enabled_; }

    // Writes "zep: <text>\n", after a "\n" when a message (which has no line
    // end) was the last thing written. Does nothing while the trace is off. A
    // line that cannot be made (no memory left) is dropped: the trace is
    // called from teardown and last-resort paths, where nothing may escape.
    void line(std::string_view text) noexcept;

    // The same for a line that takes work to make: `make` is called only
    // while the trace is on, so that a launch without it does none of that
    // work.
    template <std::invocable Make>
    void line(Make&& make) noexcept {
        if (!on()) return;
        try {
            line(std::string_view(make()));
        } catch (...) {
            // Dropped, as above.
        }
    }

    // Called once a message has gone to standard error.
    void messageWritten() noexcept { afterMessage_ = true; }

private:
    bool enabled_ = false;
    // A message, with no line end, was written last. Lines come from the
    // launcher's own threads too, not only from the one that writes messages.
    std::atomic<bool> afterMessage_ = false;
};

}  // namespace zep::platform

// What a line is made of.
namespace zep::platform::trace {

// A text of the launcher's own making (a file name of a home's layout) as a
// line holds it: the bytes of a path as they are on POSIX, UTF-8 on Windows.
std::string text(std::u16string_view text);

// `text` in double quotes, as output bytes: a path or an argument in a line.
// Escaped so that no value can end the line, reorder it or pass for the
// launcher's own words, and so that a path reads as it is typed (a backslash
// stays as it is): a control character (below U+0020, U+007F,
// U+0080..U+009F), a bidirectional or zero-width control (U+200B..U+200F,
// U+202A..U+202E, U+2066..U+2069), U+2028, U+2029, U+FEFF, "<" and the double
// quote as <U+XXXX> (four or more hexadecimal digits, the code point), a byte
// of a POSIX name that is not UTF-8 as <0xNN>, a lone surrogate on Windows as
// <U+DXXX>. Every line is held to the same for its controls and invisible
// characters.
std::string quoted(std::u16string_view text);

// A value the line names without quotes (a registry key's path, whose
// subkeys' names come from the registry): escaped as quoted() escapes.
std::string bare(std::u16string_view text);

// An option as the runtime reads it (its bytes in the runtime's encoding),
// escaped as quoted() escapes, without the quotes; a byte of a code page
// other than UTF-8 that is not ASCII as <0xNN>.
std::string runtimeText(std::string_view bytes);

// Measures a step on the monotonic clock, from its construction.
class Stopwatch {
public:
    // "<n> ms", whole milliseconds so far.
    std::string elapsed() const;

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace zep::platform::trace
