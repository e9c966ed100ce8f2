// Implements: the window finder over X11 (WM_CLASS of top-level windows and
// activation through _NET_ACTIVE_WINDOW).
#include "platform/fltk/WindowFinder.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <vector>

#include "platform/text.h"

namespace platform::fltk {

namespace {

const char* const kFileManagers[] = {
    "nautilus", "org.gnome.nautilus", "thunar",  "pcmanfm", "pcmanfm-qt", "caja",    "nemo",
    "dolphin",  "konqueror",          "spacefm", "xfe",     "doublecmd",  "krusader"};

bool classMatches(Display* display, Window w, const std::string& wanted) {
    XClassHint hint{};
    if (!XGetClassHint(display, w, &hint)) return false;
    std::string name = hint.res_name ? hint.res_name : "";
    std::string cls = hint.res_class ? hint.res_class : "";
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    if (name == wanted || cls == wanted) return true;
    if (wanted != kFileExplorerClass) return false;
    return std::any_of(std::begin(kFileManagers), std::end(kFileManagers), [&](const char* fm) {
        return equalsIgnoreAsciiCase(name, fm) || equalsIgnoreAsciiCase(cls, fm);
    });
}

std::vector<Window> children(Display* display, Window parent) {
    Window root, up, *list = nullptr;
    unsigned n = 0;
    std::vector<Window> out;
    if (XQueryTree(display, parent, &root, &up, &list, &n) && list) {
        out.assign(list, list + n);
        XFree(list);
    }
    return out;
}

// The window manager's client list, or the root's children and their
// children (a reparenting manager puts the client window one level down).
std::vector<Window> topLevelWindows(Display* display) {
    Window root = DefaultRootWindow(display);
    Atom clientList = XInternAtom(display, "_NET_CLIENT_LIST", True);
    if (clientList != None) {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, root, clientList, 0, 4096, False, XA_WINDOW, &type, &format, &count, &after,
                               &data) == Success &&
            data) {
            // Another client may set the property with any type and format:
            // only a list of windows in 32-bit items is one.
            std::vector<Window> out;
            if (type == XA_WINDOW && format == 32) {
                out.assign(reinterpret_cast<Window*>(data), reinterpret_cast<Window*>(data) + count);
            }
            XFree(data);
            if (!out.empty()) return out;
        }
    }
    std::vector<Window> out;
    for (Window w : children(display, root)) {
        out.push_back(w);
        for (Window c : children(display, w)) out.push_back(c);
    }
    return out;
}

}  // namespace

Window findWindowByClass(Display* display, const std::string& windowClass) {
    for (Window w : topLevelWindows(display)) {
        if (classMatches(display, w, windowClass)) return w;
    }
    return None;
}

void activateWindow(Display* display, Window window) {
    Window root = DefaultRootWindow(display);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 1;  // a request from an application
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    // Without a window manager the request goes unheard: do it directly.
    XRaiseWindow(display, window);
    XWindowAttributes attrs;
    if (XGetWindowAttributes(display, window, &attrs) && attrs.map_state == IsViewable)
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XFlush(display);
}

}  // namespace platform::fltk
