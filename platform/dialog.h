#pragma once
// What the launcher shows a person outside its standard error: a modal
// dialog with two buttons, an address opened the way the desktop opens it,
// and a plain message box. The notice decides what they say; this
// is how the system shows it: on Windows the system's own message box, on
// POSIX GTK 3, loaded at run time and never linked, so that the launcher
// starts on machines without it.

#include <optional>
#include <string>

namespace zep::platform {

// What a dialog shows, as the launcher holds text (UTF-16).
struct DialogTexts {
    std::u16string title;
    std::u16string body;
    std::u16string okLabel;
    std::u16string helpLabel;
};

// The button that ended a dialog. Closing its window (or Escape) counts as OK.
enum class DialogChoice { Ok, Help };

// Shows `texts` as a modal dialog with an OK button (the default) and a Help
// button, kept above other windows and on the taskbar, and waits for the
// user. Every text is shown as it is: no format, markup or mnemonic in it.
// nullopt when no dialog could be shown here: on POSIX without a display,
// without GTK 3, or when GTK cannot reach the display; on Windows when the
// system refused the box. Windows: the system's message box, its Yes and No
// buttons relabelled with the two labels as it comes up.
std::optional<DialogChoice> showDialog(const DialogTexts& texts);

// Opens `address` with the program the user chose for its scheme (a web
// browser, for http), and returns once that is started; what it does then,
// and whether it could be started at all, is not reported. Windows: the
// shell, with COM on this thread for the call only. POSIX: GIO, which comes
// with GTK, once showDialog has initialised it (nothing otherwise), with the
// standard streams lent to the null device while the program starts, so that
// a browser neither writes among the launcher's messages nor holds a caller
// that reads them to their end.
void openWithDefaultHandler(const std::u16string& address);

// A message box with `text`, captioned `caption`, with one OK button; returns
// once it is pressed (or at once when the box cannot be shown). The text is
// shown as it is. POSIX: GTK's message dialog with GTK's own OK, placed as
// showDialog's is.
void showMessageBox(const std::u16string& caption, const std::u16string& text);

#ifndef _WIN32
// True when the environment names a display (DISPLAY or WAYLAND_DISPLAY, not
// empty); without one nothing above can be shown.
bool displayNamed();
#endif

}  // namespace zep::platform
