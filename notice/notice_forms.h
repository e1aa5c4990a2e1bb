#pragma once
// The shapes the runtime-missing notice takes: a dialog where the system can
// show one (a message box on Windows, a GTK dialog on a POSIX desktop), plain
// lines on a terminal otherwise (POSIX).

#include <optional>
#include <string>

#include "platform/dialog.h"

namespace zep::notice {

// Everything the notice shows.
struct NoticeTexts {
    std::u16string title;
    std::u16string body;
    std::u16string okLabel;
    std::u16string helpLabel;
    std::u16string helpUrl;
};

using NoticeChoice = platform::DialogChoice;

// Shows the notice as a modal dialog and waits for the user; nullopt when no
// dialog can be shown here (see platform::showDialog). A choice of Help has
// already opened the help address, when there is one.
std::optional<NoticeChoice> runDialogNotice(const NoticeTexts& texts);

#ifndef _WIN32
// Writes the notice's title, body and help address to standard error as
// lines (UTF-8), when standard error is a terminal.
void writeTerminalNotice(const NoticeTexts& texts);
#endif

}  // namespace zep::notice
