#pragma once
// What the POSIX build keeps for the whole process, in one place. Every other
// state of a launch lives in the objects the entry point makes and lends to
// it; what is here cannot, and each member says why.

#include <optional>

#include "platform/library.h"
#include "platform/posix/gtk_runtime.h"

namespace zep::platform {

struct Globals {
    // GTK, once it has been tried: GTK and GLib register types and threads
    // that outlive any attempt to unload them, and neither gtk_init nor
    // GLib's log writer may be set up twice in a process. Null inside when
    // there is no display or GTK cannot be had.
    struct Gtk {
        Library library;
        GtkRuntime functions{};
        std::optional<const GtkRuntime*> initialised;
    } gtk;
};

// The one instance, made on first use. Used from the launcher's own thread.
Globals& getGlobals();

}  // namespace zep::platform
