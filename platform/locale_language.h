#pragma once
// The user's language as the POSIX build's resource-language fallback, where
// Windows would use the user's default user-interface language.

#include <cstdint>

namespace zep::platform {

// The LANGID of the string table's copy for the user's locale: the first of
// `lcAll`, `lcMessages` and `lang` (the values of LC_ALL, LC_MESSAGES and
// LANG; null when unset) that is set and not empty names the locale, and its
// language part (what precedes '_', '.' and '@') picks the copy. English
// (1033) when no copy has that language, as for "C" and "POSIX".
std::uint16_t localeLanguage(const char* lcAll, const char* lcMessages, const char* lang);

}  // namespace zep::platform
