#include "notice/notice_text.h"

#include <algorithm>
#include <string_view>

#include "platform/localized_strings.h"
#include "platform/text.h"
#include "resources/help_address.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace zep::notice {
namespace {

constexpr std::u16string_view kLanguagePrefix = u"-Duser.language=";
constexpr std::u16string_view kOpeningTag = u"<a href=\"";
constexpr std::u16string_view kClosingTag = u"</a>";

// An anchor lies within one line: what separates its parts may be anything
// but the line terminators of ECMAScript, the grammar the bodies were written
// against.
constexpr std::u16string_view kLineTerminators = u"\n\r\u2028\u2029";

}  // namespace

bool extractHelpAnchor(std::u16string& text, std::u16string& helpUrl) {
    const std::u16string_view body(text);
    for (std::size_t opening = body.find(kOpeningTag); opening != std::u16string_view::npos;) {
        const std::size_t lineEnd = std::min(body.find_first_of(kLineTerminators, opening), body.size());
        const std::u16string_view line = body.substr(0, lineEnd);
        // The address is at least one unit long, a quote included, and ends at
        // the first quote after that unit.
        const std::size_t address = opening + kOpeningTag.size();
        const std::size_t quote = line.find(u'"', address + 1);
        // The link text is at least one unit long and runs to the line's last
        // closing tag; it starts after the last '>' that leaves it that unit,
        // whether that '>' ends the opening tag or stands in the link text.
        const std::size_t closing = line.rfind(kClosingTag);
        if (quote != std::u16string_view::npos && closing != std::u16string_view::npos && closing >= quote + 3) {
            const std::size_t tagEnd = line.rfind(u'>', closing - 2);
            if (tagEnd != std::u16string_view::npos && tagEnd > quote) {
                std::u16string link(line.substr(tagEnd + 1, closing - tagEnd - 1));
                helpUrl = line.substr(address, quote - address);
                text.replace(opening, closing + kClosingTag.size() - opening, link);
                return true;
            }
        }
        // A later opening tag on this line finds its quote no earlier and the
        // same last closing tag, so it fails as this one did.
        opening = body.find(kOpeningTag, lineEnd);
    }
    return false;
}

NoticeText::NoticeText() : helpUrl(kDefaultHelpUrl) {}

void applyLanguageOption(std::u16string_view option, NoticeText& notice) {
    if (!platform::hasPrefixIgnoreCase(option, kLanguagePrefix)) return;
    std::u16string_view code = option.substr(kLanguagePrefix.size());
    // Java names English "en"; the table's one English copy goes by "en_GB".
    if (code.size() == 2 && platform::hasPrefixIgnoreCase(code, u"en")) code = u"en_GB";
    // An unknown code keeps whatever language there is, and the body is
    // still prepared in it.
    if (const std::optional<std::uint16_t> langid = findLanguage(code)) {
        notice.language = *langid;
        platform::setThreadUiLanguage(*langid);
    }
    loadNoticeText(notice);
}

void loadNoticeText(NoticeText& notice) {
    notice.body = platform::loadString(IDS_RUNTIME_MISSING_TEXT, notice.language);
    if (!notice.body.empty()) extractHelpAnchor(notice.body, notice.helpUrl);
}

}  // namespace zep::notice
