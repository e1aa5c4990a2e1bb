// The dialog on POSIX systems as GTK's message dialog, in the shape of the
// Windows message box: title, body and two buttons, labelled before the
// dialog is first shown, or the plain box with GTK's own OK; and addresses
// opened through GIO.

#include <cstdlib>
#include <initializer_list>

#include "platform/dialog.h"
#include "platform/posix/gtk_runtime.h"
#include "platform/posix/standard_streams.h"
#include "platform/text.h"

namespace zep::platform {
namespace {

// Response ids of the two buttons; GTK's own ids are negative.
constexpr int kOkResponse = 1;
constexpr int kHelpResponse = 2;

void addButton(const GtkRuntime& gtk, gtk::GtkWidget* dialog, const std::string& label, int response) {
    // Not a mnemonic label: an underscore in a translation is text, not a shortcut.
    gtk::GtkWidget* button = gtk.buttonNewWithLabel(label.c_str());
    gtk.widgetSetCanDefault(button, 1);
    gtk.widgetShow(button);
    gtk.dialogAddActionWidget(reinterpret_cast<gtk::GtkDialog*>(dialog), button, response);
}

// A message dialog with `title` and `body` and the buttons `buttons` (a
// GtkButtonsType), placed where a person sees it.
gtk::GtkWidget* newMessageDialog(const GtkRuntime& gtk, const std::u16string& title, const std::u16string& body,
                                 int buttons) {
    // The body goes through "%s": it is never a format of its own.
    gtk::GtkWidget* dialog = gtk.messageDialogNew(nullptr, gtk::kNoDialogFlags, gtk::kMessageOther, buttons, "%s",
                                                  utf16ToUtf8(body).c_str());
    auto* window = reinterpret_cast<gtk::GtkWindow*>(dialog);
    gtk.windowSetTitle(window, utf16ToUtf8(title).c_str());
    // With no window of its own to belong to, the dialog could open behind
    // the terminal or the program that started the launcher.
    gtk.windowSetKeepAbove(window, 1);
    // Nor should it be missing from the taskbar, where a person looks for a lost window.
    gtk.windowSetSkipTaskbarHint(window, 0);
    gtk.windowSetPosition(window, gtk::kWindowCenter);
    return dialog;
}

// Waits for the user, then takes the dialog down; the response it ended with.
int runToTheEnd(const GtkRuntime& gtk, gtk::GtkWidget* dialog) {
    const int response = gtk.dialogRun(reinterpret_cast<gtk::GtkDialog*>(dialog));
    gtk.widgetDestroy(dialog);
    // A round trip: the window is gone from the screen before a browser comes
    // up, or the launcher ends.
    gtk.displaySync(gtk.displayGetDefault());
    return response;
}

}  // namespace

bool displayNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

std::optional<DialogChoice> showDialog(const DialogTexts& texts) {
    const GtkRuntime* runtime = initialisedGtk();
    if (runtime == nullptr) return std::nullopt;
    const GtkRuntime& gtk = *runtime;

    gtk::GtkWidget* dialog = newMessageDialog(gtk, texts.title, texts.body, gtk::kButtonsNone);
    addButton(gtk, dialog, utf16ToUtf8(texts.okLabel), kOkResponse);
    addButton(gtk, dialog, utf16ToUtf8(texts.helpLabel), kHelpResponse);
    gtk.dialogSetDefaultResponse(reinterpret_cast<gtk::GtkDialog*>(dialog), kOkResponse);

    // Closing the window or pressing Escape is no request for help.
    return runToTheEnd(gtk, dialog) == kHelpResponse ? DialogChoice::Help : DialogChoice::Ok;
}

void showMessageBox(const std::u16string& caption, const std::u16string& text) {
    const GtkRuntime* runtime = initialisedGtk();
    if (runtime == nullptr) return;
    const GtkRuntime& gtk = *runtime;
    gtk::GtkWidget* dialog = newMessageDialog(gtk, caption, text, gtk::kButtonsOk);
    // Return presses OK, as it does in the system's box on Windows.
    gtk.dialogSetDefaultResponse(reinterpret_cast<gtk::GtkDialog*>(dialog), gtk::kResponseOk);
    runToTheEnd(gtk, dialog);
}

void openWithDefaultHandler(const std::u16string& address) {
    const GtkRuntime* gtk = initialisedGtk();
    if (gtk == nullptr) return;
    const std::string uri = utf16ToUtf8(address);
    // A browser would otherwise inherit the launcher's streams: its chatter
    // would join the launcher's message, and a caller reading the launcher's
    // output to its end would wait for the browser to be closed. GIO starts
    // the program before it returns, so the streams are back for the
    // launcher's message.
    const NullStandardStreams detached;
    gtk->launchDefaultForUri(uri.c_str(), nullptr, nullptr);
}

}  // namespace zep::platform
