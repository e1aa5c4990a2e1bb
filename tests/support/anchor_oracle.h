#pragma once
// The help anchor as the standard regular-expression facility finds it: the
// pattern <a href="(.+?)".*>(.+)</a> in the ECMAScript grammar, the first
// match of a search. The launcher finds the anchor by plain string searching;
// its tests hold it to exactly these results.

#include <regex>
#include <string>

namespace zep::test {

// What extractHelpAnchor must make of `text` and `helpUrl`, and whether it
// must report an anchor.
inline bool extractHelpAnchorByRegex(std::u16string& text, std::u16string& helpUrl) {
    // No char16_t traits: the units are searched as wchar_t, one to one.
    const std::wregex anchor(LR"re(<a href="(.+?)".*>(.+)</a>)re");
    const std::wstring subject(text.begin(), text.end());
    std::wsmatch match;
    if (!std::regex_search(subject, match, anchor)) return false;
    const std::wstring address = match.str(1);
    const std::wstring link = match.str(2);
    helpUrl.assign(address.begin(), address.end());
    text.replace(static_cast<std::size_t>(match.position(0)), static_cast<std::size_t>(match.length(0)),
                 std::u16string(link.begin(), link.end()));
    return true;
}

}  // namespace zep::test
