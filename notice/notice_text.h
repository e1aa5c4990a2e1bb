#pragma once
// The text of the runtime-missing notice and the help address it links to,
// as plain strings: what a -Duser.language= option makes of them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zep::notice {

// What the notice will say and in which language, as a launch prepares it.
struct NoticeText {
    NoticeText();  // the user's own language, no body yet, the default help address

    std::optional<std::uint16_t> language;  // a LANGID a language option chose
    std::u16string body;
    std::u16string helpUrl;
};

// Acts on a "-Duser.language=<code>" option (the prefix in any case of
// letters) and ignores every other: makes the code's copy of the texts the
// notice's language and the thread's user-interface language (an unknown
// code keeps the language there is), loads the notice body in it and moves
// the body's help address into `helpUrl`.
void applyLanguageOption(std::u16string_view option, NoticeText& notice);

// Loads the notice body in the notice's language and moves its help address
// into `helpUrl`, as a language option does: for a notice that no option has
// prepared, which would otherwise show no sentence at all.
void loadNoticeText(NoticeText& notice);

// Takes the help address out of the first anchor in `text`: `helpUrl` receives
// the href value and the whole anchor gives way to its link text. Returns false,
// and changes nothing, when `text` holds no anchor.
//
// One match runs from the first `<a href="` to the last `</a>`: with two
// anchors, the first address and the last link text survive, and of a link
// text that holds '>' only what follows the last '>'.
bool extractHelpAnchor(std::u16string& text, std::u16string& helpUrl);

}  // namespace zep::notice
