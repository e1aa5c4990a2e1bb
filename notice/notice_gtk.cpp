// The notice as GTK's message dialog, in the shape of the Windows message box:
// title, body and two buttons, labelled before the dialog is first shown.

#include "notice/default_handler.h"
#include "notice/gtk_runtime.h"
#include "notice/notice_forms.h"

namespace zep::notice {
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

}  // namespace

std::optional<NoticeChoice> runDialogNotice(const NoticeTexts& texts) {
    const GtkRuntime* runtime = initialisedGtk();
    if (runtime == nullptr) return std::nullopt;
    const GtkRuntime& gtk = *runtime;

    // The body goes through "%s": it is never a format of its own.
    gtk::GtkWidget* dialog = gtk.messageDialogNew(nullptr, gtk::kNoDialogFlags, gtk::kMessageOther, gtk::kButtonsNone,
                                                  "%s", texts.body.c_str());
    auto* window = reinterpret_cast<gtk::GtkWindow*>(dialog);
    gtk.windowSetTitle(window, texts.title.c_str());
    addButton(gtk, dialog, texts.okLabel, kOkResponse);
    addButton(gtk, dialog, texts.helpLabel, kHelpResponse);
    gtk.dialogSetDefaultResponse(reinterpret_cast<gtk::GtkDialog*>(dialog), kOkResponse);
    // With no window of its own to belong to, the dialog could open behind
    // the terminal or the program that started the launcher.
    gtk.windowSetKeepAbove(window, 1);
    // Nor should it be missing from the taskbar, where a person looks for a lost window.
    gtk.windowSetSkipTaskbarHint(window, 0);
    gtk.windowSetPosition(window, gtk::kWindowCenter);

    const int response = gtk.dialogRun(reinterpret_cast<gtk::GtkDialog*>(dialog));
    gtk.widgetDestroy(dialog);
    // A round trip: the window is gone from the screen before a browser comes up.
    gtk.displaySync(gtk.displayGetDefault());

    // Closing the window or pressing Escape is no request for help.
    if (response != kHelpResponse) return NoticeChoice::Ok;
    if (!texts.helpUrl.empty()) openWithDefaultHandler(gtk, texts.helpUrl);
    return NoticeChoice::Help;
}

}  // namespace zep::notice
