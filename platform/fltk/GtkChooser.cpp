// Implements: GTK loaded at run time (GTK 3, else GTK 2; its functions
// looked up by name, as FLTK does, so nothing of GTK is linked), its file
// chooser shown modally with the defined filters only and the preset file
// selected, the program's windows repainted but taking no input meanwhile.
#include "platform/fltk/GtkChooser.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <dlfcn.h>

#include <clocale>
#include <string>
#include <vector>

namespace platform::fltk {

namespace {

// GLib and GTK as far as they are used here: their public C interface.
using gboolean = int;
using GtkWidget = void;
using GtkFileFilter = void;
using GCallback = void (*)();
using GUnixFDSourceFunc = gboolean (*)(int fd, unsigned condition, void* data);
constexpr int kOpenAction = 0;     // GTK_FILE_CHOOSER_ACTION_OPEN
constexpr int kAccept = -3;        // GTK_RESPONSE_ACCEPT
constexpr int kCancel = -6;        // GTK_RESPONSE_CANCEL
constexpr int kNoResponse = -1;    // GTK_RESPONSE_NONE
constexpr unsigned kReadable = 1;  // G_IO_IN

struct Gtk {
    gboolean (*init_check)(int*, char***);
    void (*set_allowed_backends)(const char*);  // GTK 3 only
    GtkWidget* (*file_chooser_dialog_new)(const char*, void*, int, const char*, ...);
    GtkFileFilter* (*file_filter_new)();
    void (*file_filter_set_name)(GtkFileFilter*, const char*);
    void (*file_filter_add_pattern)(GtkFileFilter*, const char*);
    void (*file_chooser_add_filter)(GtkWidget*, GtkFileFilter*);
    void (*file_chooser_set_filter)(GtkWidget*, GtkFileFilter*);
    gboolean (*file_chooser_set_current_folder)(GtkWidget*, const char*);
    gboolean (*file_chooser_set_filename)(GtkWidget*, const char*);
    char* (*file_chooser_get_filename)(GtkWidget*);
    void (*widget_show_now)(GtkWidget*);
    void (*widget_destroy)(GtkWidget*);
    void* (*widget_get_window)(GtkWidget*);
    unsigned long (*x11_window_xid)(void*);  // of a GdkWindow
    gboolean (*main_iteration)();
    gboolean (*events_pending)();
    unsigned long (*signal_connect_data)(void*, const char*, GCallback, void*, void*, int);
    unsigned (*unix_fd_add)(int, unsigned, GUnixFDSourceFunc, void*);
    gboolean (*source_remove)(unsigned);
    void (*free)(void*);
};

template <typename Function>
bool find(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

bool loadFrom(void* library, Gtk& gtk) {
    find(library, "gdk_set_allowed_backends", gtk.set_allowed_backends);
    if (!find(library, "gdk_x11_window_get_xid", gtk.x11_window_xid))
        find(library, "gdk_x11_drawable_get_xid", gtk.x11_window_xid);
    return find(library, "gtk_init_check", gtk.init_check) &&
           find(library, "gtk_file_chooser_dialog_new", gtk.file_chooser_dialog_new) &&
           find(library, "gtk_file_filter_new", gtk.file_filter_new) &&
           find(library, "gtk_file_filter_set_name", gtk.file_filter_set_name) &&
           find(library, "gtk_file_filter_add_pattern", gtk.file_filter_add_pattern) &&
           find(library, "gtk_file_chooser_add_filter", gtk.file_chooser_add_filter) &&
           find(library, "gtk_file_chooser_set_filter", gtk.file_chooser_set_filter) &&
           find(library, "gtk_file_chooser_set_current_folder", gtk.file_chooser_set_current_folder) &&
           find(library, "gtk_file_chooser_set_filename", gtk.file_chooser_set_filename) &&
           find(library, "gtk_file_chooser_get_filename", gtk.file_chooser_get_filename) &&
           find(library, "gtk_widget_show_now", gtk.widget_show_now) &&
           find(library, "gtk_widget_destroy", gtk.widget_destroy) &&
           find(library, "gtk_widget_get_window", gtk.widget_get_window) &&
           find(library, "gtk_main_iteration", gtk.main_iteration) &&
           find(library, "gtk_events_pending", gtk.events_pending) &&
           find(library, "g_signal_connect_data", gtk.signal_connect_data) &&
           find(library, "g_unix_fd_add", gtk.unix_fd_add) && find(library, "g_source_remove", gtk.source_remove) &&
           find(library, "g_free", gtk.free);
}

// The locale GTK set for itself when it started; the program's own is put
// back whenever the chooser returns, since GTK sets every category.
std::string gtkLocale;

const Gtk* loadGtk() {
    static Gtk gtk{};
    static const bool loaded = [] {
        for (const char* name : {"libgtk-3.so.0", "libgtk-x11-2.0.so.0"}) {
            // Global, as FLTK loads it: GTK's own modules look for its symbols.
            void* library = dlopen(name, RTLD_LAZY | RTLD_GLOBAL);
            if (!library) continue;
            if (!loadFrom(library, gtk)) return false;
            // Beside the program's windows, on the same X server.
            if (gtk.set_allowed_backends) gtk.set_allowed_backends("x11");
            const std::string program = std::setlocale(LC_ALL, nullptr);
            int argc = 0;
            const bool opened = gtk.init_check(&argc, nullptr);
            gtkLocale = std::setlocale(LC_ALL, nullptr);
            std::setlocale(LC_ALL, program.c_str());
            return opened;
        }
        return false;
    }();
    return loaded ? &gtk : nullptr;
}

void responded(GtkWidget*, int response, void* data) { *static_cast<int*>(data) = response; }

// The chooser stays above the window it was opened from.
void keepAbove(const Gtk& gtk, GtkWidget* dialog) {
    Fl_Window* owner = Fl::modal() ? Fl::modal() : Fl::first_window();
    void* window = gtk.widget_get_window(dialog);
    if (!owner || !owner->shown() || !window || !gtk.x11_window_xid) return;
    XSetTransientForHint(fl_display, gtk.x11_window_xid(window), fl_xid(owner));
}

}  // namespace

bool gtkChooserAvailable() { return loadGtk() != nullptr; }

std::optional<std::string> runGtkChooser(const ChooserRequest& request) {
    const Gtk& gtk = *loadGtk();
    const std::string program = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, gtkLocale.c_str());

    GtkWidget* dialog = gtk.file_chooser_dialog_new(request.title.c_str(), nullptr, kOpenAction, "gtk-cancel", kCancel,
                                                    "gtk-open", kAccept, nullptr);
    std::vector<GtkFileFilter*> filters;
    for (const ChooserFilter& f : request.filters) {
        GtkFileFilter* filter = gtk.file_filter_new();
        gtk.file_filter_set_name(filter, f.name.c_str());
        for (const std::string& pattern : f.patterns) gtk.file_filter_add_pattern(filter, pattern.c_str());
        gtk.file_chooser_add_filter(dialog, filter);
        filters.push_back(filter);
    }
    if (request.filter < filters.size()) gtk.file_chooser_set_filter(dialog, filters[request.filter]);
    if (!request.selected.empty()) gtk.file_chooser_set_filename(dialog, request.selected.c_str());
    else gtk.file_chooser_set_current_folder(dialog, request.folder.c_str());

    int response = kNoResponse;
    gtk.signal_connect_data(dialog, "response", reinterpret_cast<GCallback>(responded), &response, nullptr, 0);
    gtk.widget_show_now(dialog);
    keepAbove(gtk, dialog);

    // Modal: the program's windows repaint and its timers run, but they take
    // no input. GTK's loop also wakes for the program's X connection.
    Fl_Event_Dispatch routing = Fl::event_dispatch();
    Fl::event_dispatch([](int, Fl_Window*) { return 0; });
    const unsigned watch = gtk.unix_fd_add(
        ConnectionNumber(fl_display), kReadable, [](int, unsigned, void*) { return 1; }, nullptr);
    while (response == kNoResponse) {
        gtk.main_iteration();
        while (Fl::ready()) Fl::check();
    }
    gtk.source_remove(watch);
    Fl::event_dispatch(routing);

    std::optional<std::string> chosen;
    if (response == kAccept) {
        if (char* name = gtk.file_chooser_get_filename(dialog)) {
            chosen = name;
            gtk.free(name);
        }
    }
    gtk.widget_destroy(dialog);
    // The chooser leaves the screen before the program goes on.
    while (gtk.events_pending()) gtk.main_iteration();
    std::setlocale(LC_ALL, program.c_str());
    return chosen;
}

}  // namespace platform::fltk
