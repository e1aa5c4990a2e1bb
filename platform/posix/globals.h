#pragma once
// What the POSIX build keeps for the whole process, in one place. Every other
// state of a launch lives in the objects the entry point makes and lends to
// it; what is here cannot, and each member says why.

#include <atomic>
#include <optional>

#include "platform/library.h"
#include "platform/posix/gtk_runtime.h"
#include "platform/runtime_hooks.h"

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

    // The target of the Java runtime's hooks (runtime_hooks.h): the hooks are
    // called without an argument of the launch's, from the runtime's threads.
    std::atomic<RuntimeHookTarget*> runtimeHookTarget{nullptr};
};

// The one instance, made on first use. Its members say which threads use them.
Globals& getGlobals();

}  // namespace zep::platform
