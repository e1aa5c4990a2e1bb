#include "platform/posix/gtk_runtime.h"

#include "platform/dialog.h"
#include "platform/library.h"
#include "platform/posix/globals.h"

namespace zep::platform {
namespace {

template <typename Function>
bool resolve(const Library& library, const char* name, Function& function) {
    function = library.function<Function>(name);
    return function != nullptr;
}

// Null when any function is missing. GTK stays loaded for good (see globals.h).
const GtkRuntime* loadGtk(Globals::Gtk& gtk) {
    gtk.library = Library::loadResident(u"libgtk-3.so.0");
    const Library& library = gtk.library;
    if (!library) return nullptr;
    GtkRuntime& runtime = gtk.functions;
    // GIO's launcher comes with GTK, which depends on it; a lookup searches there too.
    const bool complete = resolve(library, "gtk_init_check", runtime.initCheck) &&
                          resolve(library, "gtk_message_dialog_new", runtime.messageDialogNew) &&
                          resolve(library, "gtk_window_set_title", runtime.windowSetTitle) &&
                          resolve(library, "gtk_window_set_keep_above", runtime.windowSetKeepAbove) &&
                          resolve(library, "gtk_window_set_position", runtime.windowSetPosition) &&
                          resolve(library, "gtk_window_set_skip_taskbar_hint", runtime.windowSetSkipTaskbarHint) &&
                          resolve(library, "gtk_button_new_with_label", runtime.buttonNewWithLabel) &&
                          resolve(library, "gtk_widget_set_can_default", runtime.widgetSetCanDefault) &&
                          resolve(library, "gtk_widget_show", runtime.widgetShow) &&
                          resolve(library, "gtk_widget_destroy", runtime.widgetDestroy) &&
                          resolve(library, "gtk_dialog_add_action_widget", runtime.dialogAddActionWidget) &&
                          resolve(library, "gtk_dialog_set_default_response", runtime.dialogSetDefaultResponse) &&
                          resolve(library, "gtk_dialog_run", runtime.dialogRun) &&
                          resolve(library, "gdk_display_get_default", runtime.displayGetDefault) &&
                          resolve(library, "gdk_display_sync", runtime.displaySync) &&
                          resolve(library, "g_app_info_launch_default_for_uri", runtime.launchDefaultForUri) &&
                          resolve(library, "g_log_set_writer_func", runtime.logSetWriterFunc);
    return complete ? &runtime : nullptr;
}

// Callers read the launcher's standard error byte for byte, and GTK's
// diagnostics would land there: above all the accessibility bridge's warning
// on desktops whose session bus has no accessibility bus. Dropping them all
// keeps the bridge itself, and with it the screen readers that read the notice.
int dropLogMessage(int, const gtk::GLogField*, unsigned long, void*) { return gtk::kLogWriterHandled; }

const GtkRuntime* initialise(Globals::Gtk& gtk) {
    if (!displayNamed()) return nullptr;
    const GtkRuntime* runtime = loadGtk(gtk);
    if (runtime == nullptr) return nullptr;
    // Once per process, before GTK has anything to say; GLib refuses a second writer.
    runtime->logSetWriterFunc(dropLogMessage, nullptr, nullptr);
    if (!runtime->initCheck(nullptr, nullptr)) return nullptr;
    return runtime;
}

}  // namespace

const GtkRuntime* initialisedGtk() {
    Globals::Gtk& gtk = getGlobals().gtk;
    if (!gtk.initialised) gtk.initialised = initialise(gtk);
    return *gtk.initialised;
}

}  // namespace zep::platform
