#pragma once
// The text of the runtime-missing notice and the help address it links to,
// as plain strings: what a -Duser.language= option makes of them.

#include <string>
#include <string_view>

namespace zep::notice {

// Acts on a "-Duser.language=<code>" option (the prefix in any case of
// letters) and ignores every other: switches the thread's user-interface
// language to the code's copy of the texts (an unknown code keeps the
// language there is), loads the notice body in it into `noticeText` and moves
// the body's help address into `helpUrl`.
void applyLanguageOption(std::u16string_view option, std::u16string& noticeText, std::u16string& helpUrl);

// Loads the notice body in the thread's language into `noticeText` and moves
// its help address into `helpUrl`, as a language option does: for a notice
// that no option has prepared, which would otherwise show no sentence at all.
void loadNoticeText(std::u16string& noticeText, std::u16string& helpUrl);

// Takes the help address out of the first anchor in `text`: `helpUrl` receives
// the href value and the whole anchor gives way to its link text. Returns false,
// and changes nothing, when `text` holds no anchor.
//
// One match runs from the first `<a href="` to the last `</a>`: with two
// anchors, the first address and the last link text survive, and of a link
// text that holds '>' only what follows the last '>'.
bool extractHelpAnchor(std::u16string& text, std::u16string& helpUrl);

}  // namespace zep::notice
