#pragma once
// GTK 3 as the launcher reaches it: loaded at run time, never linked, so that
// the launcher starts on machines without it. The few functions the dialog
// calls are declared here by hand, with the types of GTK's own headers
// reduced to what crosses the call.

namespace zep::platform {

namespace gtk {
using gboolean = int;
struct GtkWidget;
struct GtkWindow;
struct GtkDialog;
struct GdkDisplay;
struct GAppLaunchContext;
struct GError;
struct GLogField;
// GLogWriterFunc: takes GLogLevelFlags and returns GLogWriterOutput.
using LogWriter = int (*)(int level, const GLogField* fields, unsigned long count, void* data);

inline constexpr int kLogWriterHandled = 1;

// GtkDialogFlags, GtkMessageType, GtkButtonsType, GtkResponseType and
// GtkWindowPosition values.
inline constexpr int kNoDialogFlags = 0;
inline constexpr int kMessageOther = 4;
inline constexpr int kButtonsNone = 0;
inline constexpr int kButtonsOk = 1;
inline constexpr int kResponseOk = -5;
inline constexpr int kWindowCenter = 1;
}  // namespace gtk

struct GtkRuntime {
    gtk::gboolean (*initCheck)(int* argc, char*** argv);
    gtk::GtkWidget* (*messageDialogNew)(gtk::GtkWindow* parent, int flags, int type, int buttons, const char* format,
                                        ...);
    void (*windowSetTitle)(gtk::GtkWindow* window, const char* title);
    void (*windowSetKeepAbove)(gtk::GtkWindow* window, gtk::gboolean setting);
    void (*windowSetPosition)(gtk::GtkWindow* window, int position);
    void (*windowSetSkipTaskbarHint)(gtk::GtkWindow* window, gtk::gboolean setting);
    gtk::GtkWidget* (*buttonNewWithLabel)(const char* label);
    void (*widgetSetCanDefault)(gtk::GtkWidget* widget, gtk::gboolean canDefault);
    void (*widgetShow)(gtk::GtkWidget* widget);
    void (*widgetDestroy)(gtk::GtkWidget* widget);
    void (*dialogAddActionWidget)(gtk::GtkDialog* dialog, gtk::GtkWidget* child, int responseId);
    void (*dialogSetDefaultResponse)(gtk::GtkDialog* dialog, int responseId);
    int (*dialogRun)(gtk::GtkDialog* dialog);
    gtk::GdkDisplay* (*displayGetDefault)();
    void (*displaySync)(gtk::GdkDisplay* display);
    gtk::gboolean (*launchDefaultForUri)(const char* uri, gtk::GAppLaunchContext* context, gtk::GError** error);
    void (*logSetWriterFunc)(gtk::LogWriter writer, void* data, void (*freeData)(void*));
};

// GTK 3 with every function above, initialised on the display of the
// environment; null when it is not installed or cannot reach a display. GTK
// is loaded once and stays loaded, since it cannot be unloaded safely.
const GtkRuntime* initialisedGtk();

}  // namespace zep::platform
