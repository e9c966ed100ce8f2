#include "platform/fltk/XDisplay.h"

#include "platform/fltk/FormWindow.h"

#include <FL/Fl.H>
// For Fl_X, FLTK's per-window X state: the wait for the first exposure.
#define FL_INTERNALS
#include <FL/x.H>
#include <X11/Xlib.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

bool inputMethodPutOff = false;
int readDpi = platform::fltk::kDefinedDpi;

// The atoms FLTK 1.3 interns one by one, a round trip each, when it opens the
// display; Xlib answers them from its cache once they were asked for at once.
const char* const kFltkAtoms[] = {
    "WM_DELETE_WINDOW",
    "WM_PROTOCOLS",
    "_MOTIF_WM_HINTS",
    "TARGETS",
    "CLIPBOARD",
    "TIMESTAMP",
    "PRIMARY_TIMESTAMP",
    "CLIPBOARD_TIMESTAMP",
    "XdndAware",
    "XdndSelection",
    "XdndEnter",
    "XdndTypeList",
    "XdndPosition",
    "XdndLeave",
    "XdndDrop",
    "XdndStatus",
    "XdndActionCopy",
    "XdndFinished",
    "text/uri-list",
    "text/plain;charset=UTF-8",
    "text/plain;charset=utf-8",
    "text/plain",
    "TEXT",
    "COMPOUND_TEXT",
    "UTF8_STRING",
    "image/bmp",
    "image/png",
    "INCR",
    "_NET_WM_PID",
    "_NET_WM_NAME",
    "_NET_WM_ICON_NAME",
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_WM_STATE",
    "_NET_WM_STATE_FULLSCREEN",
    "_NET_WM_FULLSCREEN_MONITORS",
    "_NET_WORKAREA",
    "_NET_WM_ICON",
    "_NET_ACTIVE_WINDOW",
};

void quiet(const char*, ...) {}

// What FLTK's own display opening installs.
int ioError(Display*) {
    Fl::fatal("X I/O error");
    return 0;
}

int xError(Display* display, XErrorEvent* e) {
    char key[32], request[128], text[128];
    std::snprintf(key, sizeof key, "XRequest.%d", e->request_code);
    XGetErrorDatabaseText(display, "", key, key, request, sizeof request);
    XGetErrorText(display, e->error_code, text, sizeof text);
    Fl::warning("%s: %s 0x%lx", request, text, e->resourceid);
    return 0;
}

}  // namespace

// The linker's --wrap names its functions __wrap_NAME and __real_NAME.
// NOLINTBEGIN(bugprone-reserved-identifier)

// FLTK opens the input method when it opens the display, and again whenever
// the pointer enters one of its windows while it has none. The link sends
// FLTK's calls here (--wrap=XOpenIM), so that those opens fail at once while
// the input method is put off.
extern "C" XIM __real_XOpenIM(Display*, struct _XrmHashBucketRec*, char*, char*);
extern "C" XIM __wrap_XOpenIM(Display* display, struct _XrmHashBucketRec* database, char* resourceName,
                              char* resourceClass) {
    if (inputMethodPutOff) return nullptr;
    return __real_XOpenIM(display, database, resourceName, resourceClass);
}

// FLTK loads libXrandr to hear of screen changes. That library would bring
// the system's shared Xlib into the process beside the one linked in, on the
// same display; the launcher reads the screen as it starts and goes without.
extern "C" void* __real_dlopen(const char*, int);
extern "C" void* __wrap_dlopen(const char* file, int mode) {
    if (file && std::strstr(file, "libXrandr")) return nullptr;
    return __real_dlopen(file, mode);
}

namespace {

// The forms' windows whose map is held back until the event loop next waits.
std::vector<Window> heldMaps;

}  // namespace

// Every FLTK window maps through here first (--wrap=XMapWindow). A form's window
// is mapped when the event loop next waits: by then the form's OnShow has
// filled it, and it is drawn into its background first, so that its first
// frame on the screen is whole.
extern "C" int __real_XMapWindow(Display*, Window);
extern "C" int __wrap_XMapWindow(Display* display, Window xid) {
    if (dynamic_cast<platform::fltk::FormWindow*>(fl_find(xid))) {
        heldMaps.push_back(xid);
        return 1;
    }
    return __real_XMapWindow(display, xid);
}

// FLTK maps and raises a window when a widget in it takes the focus
// (--wrap=XMapRaised); a held window is mapped on top when it is let go.
extern "C" int __real_XMapRaised(Display*, Window);
extern "C" int __wrap_XMapRaised(Display* display, Window xid) {
    for (Window held : heldMaps)
        if (held == xid) return 1;
    return __real_XMapRaised(display, xid);
}

// NOLINTEND(bugprone-reserved-identifier)

namespace {

// The user's locale for character types, as FLTK wants it for the input
// method and for file names; once, after the first frame.
void followUserLocale() {
    static bool done = false;
    if (done) return;
    done = true;
    std::setlocale(LC_CTYPE, "");
}

// A check: FLTK runs it in every wait, before it draws and flushes.
void mapHeldWindows(void*) {
    if (heldMaps.empty()) return;
    std::vector<Window> held;
    held.swap(heldMaps);
    for (Window xid : held) {
        // A window hidden meanwhile is gone.
        auto* window = dynamic_cast<platform::fltk::FormWindow*>(fl_find(xid));
        if (!window || !window->shown()) continue;
        window->paintBeforeMap();
        __real_XMapWindow(fl_display, xid);
    }
    // The first frame goes out before the locale is loaded; FLTK asks for
    // the locale only when it handles events, which it does after this.
    XFlush(fl_display);
    followUserLocale();
}

// The server paints an exposed part of a painted window from its background,
// which is the window as it is; FLTK would draw it all over again.
int exposesPaintedBackground(void* event, void*) {
    const XEvent& e = *static_cast<XEvent*>(event);
    if (e.type != Expose) return 0;
    auto* window = dynamic_cast<platform::fltk::FormWindow*>(fl_find(e.xexpose.window));
    if (!window || !window->showsPaintedBackground()) return 0;
    Fl_X::i(window)->wait_for_expose = 0;
    return 1;
}

}  // namespace

namespace platform::fltk {

int dpiFrom(const char* resources, const char* gdkScale) {
    // One resource a line, "Xft.dpi:<blanks>144"; the value may be a decimal.
    for (const char* line = resources; line && *line;) {
        const char* end = std::strchr(line, '\n');
        if (std::strncmp(line, "Xft.dpi:", 8) == 0) {
            char* after = nullptr;
            const double value = std::strtod(line + 8, &after);
            if (after != line + 8 && value > 0 && value < 10 * kDefinedDpi)
                return std::max(kDefinedDpi, static_cast<int>(std::lround(value)));
        }
        line = end ? end + 1 : nullptr;
    }
    if (gdkScale) {
        const int factor = std::atoi(gdkScale);
        if (factor >= 1 && factor <= 10) return factor * kDefinedDpi;
    }
    return kDefinedDpi;
}

int displayDpi() { return readDpi; }

void openDisplay() {
    if (fl_display) return;
    // As fl_open_display() does, with the atoms asked for in one request.
    // The user's locale and Xlib's locale modifiers come after the first
    // frame (followUserLocale): loading them costs some 2 ms, and the display
    // needs neither.
    XSetIOErrorHandler(ioError);
    XSetErrorHandler(xError);
    Display* display = XOpenDisplay(nullptr);
    if (!display) Fl::fatal("Can't open display: %s", XDisplayName(nullptr));
    // Xlib has the resources already: no round trip.
    readDpi = dpiFrom(XResourceManagerString(display), std::getenv("GDK_SCALE"));
    Atom atoms[std::size(kFltkAtoms)];
    XInternAtoms(display, const_cast<char**>(kFltkAtoms), static_cast<int>(std::size(kFltkAtoms)), False, atoms);

    inputMethodPutOff = true;
    // Without this FLTK warns on standard error that no input method opened.
    void (*warning)(const char*, ...) = Fl::warning;
    Fl::warning = quiet;
    fl_open_display(display);
    Fl::warning = warning;
    Fl::add_check(mapHeldWindows);
    Fl::add_system_handler(exposesPaintedBackground, nullptr);
}

void mapHeldWindowsNow() { mapHeldWindows(nullptr); }

void openInputMethod(Fl_Window& window) {
    if (!inputMethodPutOff) return;
    inputMethodPutOff = false;
    followUserLocale();
    XSetLocaleModifiers("");
    // FLTK's retry, as if the pointer entered the window; FLTK keeps a
    // pointer to the event it handles, hence one that outlives the call.
    static XEvent enter;
    enter = XEvent{};
    XCrossingEvent& e = enter.xcrossing;
    e.type = EnterNotify;
    e.display = fl_display;
    e.window = fl_xid(&window);
    e.detail = NotifyAncestor;
    Window root, child;
    int x, y;
    unsigned int state;
    XQueryPointer(fl_display, e.window, &root, &child, &e.x_root, &e.y_root, &x, &y, &state);
    e.root = root;
    e.x = x;
    e.y = y;
    e.state = state;
    e.time = CurrentTime;
    fl_handle(enter);
}

}  // namespace platform::fltk
