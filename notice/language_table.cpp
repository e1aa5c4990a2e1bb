#include "notice/language_table.h"

#include "resources/string_table.h"

namespace zep {
namespace {

// kLanguageCodes is constant data, ready before any dynamic initialization.
std::map<std::u16string, std::uint16_t> buildLanguageTable() {
    std::map<std::u16string, std::uint16_t> table;
    for (std::size_t i = 0; i < kLanguageCodeCount; ++i) {
        table.emplace(kLanguageCodes[i].code, kLanguageCodes[i].langid);
    }
    return table;
}

}  // namespace

const std::map<std::u16string, std::uint16_t> LanguageTable = buildLanguageTable();

std::u16string currentLanguage = u"en_GB";

}  // namespace zep
