// A GTK module that reads the launcher's dialogs from inside its process and
// presses them. The launcher loads GTK at run time, so no interposed library
// reaches its calls; GTK itself loads what GTK_MODULES names when it starts.
// From a timer in the dialog's own loop, every message dialog that comes up
// is appended to the file ZEPTEST_DIALOG_RECORD names (its title, the label of
// the button Return presses, its text) and that button is clicked. A dialog
// without such a button is recorded so and closed, so that no test waits.

#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

#include "tests/support/gtk_calls.h"

namespace {

// GTK is found in the process, where the launcher loaded it.
using Gtk = zep::test::GtkCalls;

constexpr const char* kRecorded = "zeptest-recorded";

struct Recorder {
    Gtk gtk;
    std::string file;

    void record(void* dialog) const {
        const char* title = gtk.windowGetTitle(dialog);
        void* button = gtk.windowGetDefaultWidget(dialog);
        const char* label = button != nullptr ? gtk.buttonGetLabel(button) : nullptr;
        char* text = nullptr;
        gtk.objectGet(dialog, "text", &text, nullptr);
        std::ofstream(file, std::ios::app | std::ios::binary)
            << "title: " << (title != nullptr ? title : "<none>")
            << "\nbutton: " << (label != nullptr ? label : "<none>")
            << "\ntext: " << (text != nullptr ? text : "<none>") << '\n';
        gtk.free(text);
        if (label != nullptr) {
            gtk.buttonClicked(button);
        } else {
            gtk.windowClose(dialog);
        }
    }

    static int tick(void* data) {
        const auto& recorder = *static_cast<const Recorder*>(data);
        const Gtk& gtk = recorder.gtk;
        void* dialog = nullptr;
        Gtk::GList* toplevels = gtk.windowListToplevels();
        for (Gtk::GList* item = toplevels; item != nullptr; item = item->next) {
            if (gtk.isA(item->data, gtk.messageDialogType) && gtk.widgetGetMapped(item->data) != 0 &&
                gtk.objectGetData(item->data, kRecorded) == nullptr) {
                dialog = item->data;
            }
        }
        gtk.listFree(toplevels);
        if (dialog != nullptr) {
            // A dialog on the screen is recorded once, however long it takes to go.
            gtk.objectSetData(dialog, kRecorded, dialog);
            recorder.record(dialog);
        }
        return 1;  // on watch for the next one
    }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) void gtk_module_init(int*, char***) {
    const char* file = std::getenv("ZEPTEST_DIALOG_RECORD");
    if (file == nullptr) return;
    try {
        // For as long as the process lasts: GTK never unloads a module.
        auto* recorder = new Recorder{Gtk::resolve(dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_NOLOAD)), file};
        recorder->gtk.timeoutAdd(20, Recorder::tick, recorder);
    } catch (const std::exception& error) {
        // Nothing may leave into GTK's C; the test reads why it saw no dialog.
        std::ofstream(file, std::ios::app) << "recorder: " << error.what() << '\n';
    }
}
