#pragma once
// The two shapes the runtime-missing notice takes on POSIX systems: a GTK
// dialog where a desktop can show one, plain lines on a terminal otherwise.

#include <optional>
#include <string>

namespace zep::notice {

// Everything the notice shows, in UTF-8, the text encoding of both shapes.
struct NoticeTexts {
    std::string title;
    std::string body;
    std::string okLabel;
    std::string helpLabel;
    std::string helpUrl;
};

enum class NoticeChoice { Ok, Help };

// Shows the notice as a modal GTK dialog and waits for the user; nullopt when
// no dialog can be shown here (no display, no GTK 3, or GTK cannot reach the
// display). A choice of Help has already opened the help address.
std::optional<NoticeChoice> runDialogNotice(const NoticeTexts& texts);

// Writes the notice to standard error as lines, when standard error is a terminal.
void writeTerminalNotice(const NoticeTexts& texts);

}  // namespace zep::notice
