#pragma once
// The process-wide state behind the launcher's user-interface language.

#include <cstdint>
#include <map>
#include <string>

namespace zep {

// A -Duser.language= code (exact, case-sensitive) -> the LANGID of its copy of
// the string table. Complete before the entry point runs; never changed.
extern const std::map<std::u16string, std::uint16_t> LanguageTable;

// The code of the latest -Duser.language= option, after the "en" rule.
extern std::u16string currentLanguage;

}  // namespace zep
