#pragma once
// The GTK, GObject and GLib functions the tests read and press dialogs with,
// declared by hand as the launcher declares its own (it links no GTK either),
// and looked up in a GTK 3 library the caller opened.

#include <dlfcn.h>

#include <stdexcept>
#include <string>
#include <type_traits>

namespace zep::test {

struct GtkCalls {
    using GType = unsigned long;
    struct GList {
        void* data;
        GList* next;
        GList* prev;
    };
    using Callback = void (*)(void* widget, void* data);

    GList* (*windowListToplevels)();
    void (*listFree)(GList*);
    int (*typeCheckInstanceIsA)(void* instance, GType type);
    GType (*dialogType)();
    GType (*messageDialogType)();
    GType (*containerType)();
    GType (*buttonType)();
    GType (*labelType)();
    void (*containerForall)(void* container, Callback callback, void* data);
    int (*widgetGetMapped)(void* widget);
    int (*widgetIsVisible)(void* widget);
    int (*widgetHasDefault)(void* widget);
    const char* (*windowGetTitle)(void* window);
    int (*windowGetModal)(void* window);
    void* (*windowGetDefaultWidget)(void* window);
    const char* (*labelGetText)(void* label);
    const char* (*buttonGetLabel)(void* button);
    void (*buttonClicked)(void* button);
    void (*windowClose)(void* window);
    void (*objectGet)(void* object, const char* firstProperty, ...);
    void* (*objectGetData)(void* object, const char* key);
    void (*objectSetData)(void* object, const char* key, void* data);
    void (*free)(void* memory);
    unsigned (*timeoutAdd)(unsigned milliseconds, int (*function)(void*), void* data);
    int (*sourceRemove)(unsigned id);

    bool isA(void* widget, GType (*type)()) const { return typeCheckInstanceIsA(widget, type()) != 0; }

    // Every function from `library` (dlopen's handle); throws when the
    // library is null or lacks one.
    static GtkCalls resolve(void* library) {
        if (library == nullptr) throw std::runtime_error("GTK 3 cannot be had (scripts/setup installs it)");
        GtkCalls gtk{};
        const auto find = [library](const char* name, auto& function) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
            if (function == nullptr) throw std::runtime_error(std::string("GTK lacks ") + name);
        };
        find("gtk_window_list_toplevels", gtk.windowListToplevels);
        find("g_list_free", gtk.listFree);
        find("g_type_check_instance_is_a", gtk.typeCheckInstanceIsA);
        find("gtk_dialog_get_type", gtk.dialogType);
        find("gtk_message_dialog_get_type", gtk.messageDialogType);
        find("gtk_container_get_type", gtk.containerType);
        find("gtk_button_get_type", gtk.buttonType);
        find("gtk_label_get_type", gtk.labelType);
        find("gtk_container_forall", gtk.containerForall);
        find("gtk_widget_get_mapped", gtk.widgetGetMapped);
        find("gtk_widget_is_visible", gtk.widgetIsVisible);
        find("gtk_widget_has_default", gtk.widgetHasDefault);
        find("gtk_window_get_title", gtk.windowGetTitle);
        find("gtk_window_get_modal", gtk.windowGetModal);
        find("gtk_window_get_default_widget", gtk.windowGetDefaultWidget);
        find("gtk_label_get_text", gtk.labelGetText);
        find("gtk_button_get_label", gtk.buttonGetLabel);
        find("gtk_button_clicked", gtk.buttonClicked);
        find("gtk_window_close", gtk.windowClose);
        find("g_object_get", gtk.objectGet);
        find("g_object_get_data", gtk.objectGetData);
        find("g_object_set_data", gtk.objectSetData);
        find("g_free", gtk.free);
        find("g_timeout_add", gtk.timeoutAdd);
        find("g_source_remove", gtk.sourceRemove);
        return gtk;
    }
};

}  // namespace zep::test
