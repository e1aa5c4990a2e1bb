#pragma once
#include <string>

namespace zep {

// Takes the help address out of the first anchor in `text`: `helpUrl` receives
// the href value and the whole anchor gives way to its link text. Returns false,
// and changes nothing, when `text` holds no anchor.
//
// One match runs from the first `<a href="` to the last `</a>`: with two
// anchors, the first address and the last link text survive, and of a link
// text that holds '>' only what follows the last '>'.
bool extractHelpAnchor(std::u16string& text, std::u16string& helpUrl);

}  // namespace zep
