#pragma once
// What the launcher shows a person: the runtime-missing notice, and the
// messages of a windowless launcher. Windows shows message boxes
// (notice_windows.cpp); a POSIX desktop a dialog (notice_dialog.cpp), a
// terminal lines (notice_terminal.cpp), chosen in notice_posix.cpp. How a
// dialog or a box is shown is platform/dialog.h's.

#include <string>

#include "notice/notice_text.h"

namespace zep::notice {

// Tells the user that no usable Java runtime was found and waits until they
// close the notice: its body, and the title and the OK and Help labels loaded
// in its language, kept above other windows. Help opens its help address
// (when not empty) with the user's default handler. Reports nothing.
void showRuntimeMissingNotice(const NoticeText& notice);

// Shows the launcher's messages, one a line, where the user sees them and
// returns once they are acknowledged: a box captioned "zep" with an OK button,
// for a launcher without a console (Windows) or one whose standard error
// nobody reads (a desktop's). Returns at once when no box can be shown.
void showMessages(const std::u16string& text);

}  // namespace zep::notice
