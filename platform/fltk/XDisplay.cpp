#include "platform/fltk/XDisplay.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <clocale>
#include <cstdio>
#include <iterator>

namespace {

bool inputMethodPutOff = false;

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

// FLTK opens the input method when it opens the display, and again whenever
// the pointer enters one of its windows while it has none. This definition
// takes the place of Xlib's for the FLTK linked into the program, so that
// those opens fail at once while the input method is put off.
extern "C" XIM XOpenIM(Display* display, struct _XrmHashBucketRec* database, char* resourceName, char* resourceClass) {
    using Open = XIM (*)(Display*, struct _XrmHashBucketRec*, char*, char*);
    static const Open xlibOpen = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "XOpenIM"));
    if (inputMethodPutOff || !xlibOpen) return nullptr;
    return xlibOpen(display, database, resourceName, resourceClass);
}

namespace platform::fltk {

void openDisplay() {
    if (fl_display) return;
    // As fl_open_display() does, with the atoms asked for in one request.
    std::setlocale(LC_CTYPE, "");
    XSetLocaleModifiers("");
    XSetIOErrorHandler(ioError);
    XSetErrorHandler(xError);
    Display* display = XOpenDisplay(nullptr);
    if (!display) Fl::fatal("Can't open display: %s", XDisplayName(nullptr));
    Atom atoms[std::size(kFltkAtoms)];
    XInternAtoms(display, const_cast<char**>(kFltkAtoms), static_cast<int>(std::size(kFltkAtoms)), False, atoms);

    inputMethodPutOff = true;
    // Without this FLTK warns on standard error that no input method opened.
    void (*warning)(const char*, ...) = Fl::warning;
    Fl::warning = quiet;
    fl_open_display(display);
    Fl::warning = warning;
}

void openInputMethod(Fl_Window& window) {
    if (!inputMethodPutOff) return;
    inputMethodPutOff = false;
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
