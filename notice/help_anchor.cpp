#include "notice/help_anchor.h"

#include <regex>
#include <string_view>

namespace zep {
namespace {

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

}  // namespace zep
