#pragma once
// The executable's localized texts, in the language a launch has chosen, or
// else in the user's own.

#include <cstdint>
#include <optional>
#include <string>

namespace zep::platform {

// A language as Windows numbers it (a LANGID); the texts' table uses the same.
using LanguageId = std::uint16_t;

// Tells the system that the calling thread's user interface is in `langid`,
// for the texts the system shows itself (Windows' own message boxes); POSIX
// has none, and nothing is done there.
void setThreadUiLanguage(LanguageId langid);

// Text `id` in `language`; when that is none or has no copy of it, in the
// user's own language or the platform's fallback; the empty text when no
// copy exists at all. At most 1023 units, cut at the first NUL.
std::u16string loadString(unsigned id, std::optional<LanguageId> language);

}  // namespace zep::platform
