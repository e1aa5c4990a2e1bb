#pragma once
// The executable's localized texts. The language is the calling thread's, as
// on Windows: set with setThreadUiLanguage, else the user's own.

#include <cstdint>
#include <string>

namespace zep::platform {

void setThreadUiLanguage(std::uint16_t langid);

// Text `id` in the thread's language, or in the platform's fallback when that
// language has no copy; the empty text when no copy exists at all. At most
// 1023 units, cut at the first NUL.
std::u16string loadString(unsigned id);

}  // namespace zep::platform
