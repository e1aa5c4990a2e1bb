#include "notice/notice_text.h"

#include <iterator>
#include <regex>
#include <string_view>

#include "notice/language_table.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "resources/string_ids.h"

namespace zep::notice {
namespace {

constexpr std::u16string_view kLanguagePrefix = u"-Duser.language=";

// The standard regex has no char16_t traits, so the text is searched as
// wchar_t, one code unit to one wchar_t either way. That loses nothing, and
// '.' steps over exactly the units it steps over on Windows, where wchar_t is
// UTF-16 already.
std::wstring toWchar(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string fromWchar(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t unit : text) out.push_back(static_cast<char16_t>(unit));
    return out;
}

}  // namespace

bool extractHelpAnchor(std::u16string& text, std::u16string& helpUrl) {
    // The search recurses per character; a text that passed through the
    // 1024-unit load buffer is far too short for that to matter.
    const std::wregex anchor(LR"re(<a href="(.+?)".*>(.+)</a>)re");
    const std::wstring subject = toWchar(text);
    std::wsmatch match;
    if (!std::regex_search(subject, match, anchor)) return false;
    helpUrl = fromWchar(match.str(1));
    text.replace(static_cast<std::size_t>(match.position(0)), static_cast<std::size_t>(match.length(0)),
                 fromWchar(match.str(2)));
    return true;
}

void applyLanguageOption(std::u16string_view option, std::u16string& noticeText, std::u16string& helpUrl) {
    if (!platform::hasPrefixIgnoreCase(option, kLanguagePrefix)) return;
    currentLanguage = option.substr(kLanguagePrefix.size());
    // Java names English "en"; the table's one English copy goes by "en_GB".
    if (currentLanguage.size() == 2 && platform::hasPrefixIgnoreCase(currentLanguage, u"en")) {
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

}  // namespace zep::notice
