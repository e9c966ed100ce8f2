#include "platform/fltk/InputMethod.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xlib.h>
#include <dlfcn.h>

namespace {

bool putOff = false;

void quiet(const char*, ...) {}

}  // namespace

// FLTK opens the input method in fl_open_display, and again whenever the
// pointer enters one of its windows while it has none. This definition takes
// the place of Xlib's for the FLTK linked into the program, so that those
// opens fail at once until the input method is wanted.
extern "C" XIM XOpenIM(Display* display, struct _XrmHashBucketRec* database, char* resourceName, char* resourceClass) {
    using Open = XIM (*)(Display*, struct _XrmHashBucketRec*, char*, char*);
    static const Open xlibOpen = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "XOpenIM"));
    if (putOff || !xlibOpen) return nullptr;
    return xlibOpen(display, database, resourceName, resourceClass);
}

namespace platform::fltk {

void openDisplayWithoutInputMethod() {
    putOff = true;
    // Without this FLTK warns on standard error that no input method opened.
    void (*warning)(const char*, ...) = Fl::warning;
    Fl::warning = quiet;
    fl_open_display();
    Fl::warning = warning;
}

void openInputMethod(Fl_Window& window) {
    if (!putOff) return;
    putOff = false;
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
