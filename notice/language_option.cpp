#include <iterator>

#include "launcher/launcher.h"
#include "notice/help_anchor.h"
#include "notice/language_table.h"
#include "platform/platform.h"
#include "resources/string_ids.h"

namespace zep {
namespace {

constexpr char16_t kLanguagePrefix[] = u"-Duser.language=";
constexpr std::size_t kLanguagePrefixLength = std::size(kLanguagePrefix) - 1;

}  // namespace

void Launcher::applyLanguageOption(const char16_t* option) {
    const std::u16string text(option);
    if (!hasPrefixIgnoreCase(text.c_str(), kLanguagePrefix)) return;
    currentLanguage = text.substr(kLanguagePrefixLength);
    // Java names English "en"; the table's one English copy goes by "en_GB".
    if (currentLanguage.size() == 2 && hasPrefixIgnoreCase(currentLanguage.c_str(), u"en")) {
        currentLanguage = u"en_GB";
    }
    // An unknown code keeps whatever language the thread has, and the body is
    // still prepared in it.
    if (const auto found = LanguageTable.find(currentLanguage); found != LanguageTable.end()) {
        platform::setThreadUiLanguage(found->second);
    }
    noticeText = platform::loadString(IDS_RUNTIME_MISSING_TEXT);
    if (!noticeText.empty()) extractHelpAnchor(noticeText, helpUrl);
}

}  // namespace zep
