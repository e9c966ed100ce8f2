/* xdnd_drop: drops DATA on a window by the XDND protocol, as a file manager
 * does at the end of a drag, with no pointer involved.
 *
 * Usage: xdnd_drop WINDOW_ID ROOT_X ROOT_Y DATA [MIME]   (MIME: text/uri-list)
 * Exit: 0 the target accepted and finished the drop; 1 it refused it, or did
 * not answer within 5 s at some step; 2 bad use, no display, or no XDND
 * target at WINDOW_ID. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

/* A target that is alive answers within milliseconds; the bound only keeps a
 * test from hanging on one that is not. */
enum { OurVersion = 5, LowestVersion = 3, StepMs = 5000 };

/* Indexes into atoms (Xlib's macros own the plain names). */
enum {
    AtAware,
    AtProxy,
    AtEnter,
    AtPosition,
    AtStatus,
    AtLeave,
    AtDrop,
    AtFinished,
    AtSelection,
    AtCopy,
    AtTargets,
    AtCount
};
static char* atomNames[AtCount] = {"XdndAware",     "XdndProxy",      "XdndEnter", "XdndPosition",
                                   "XdndStatus",    "XdndLeave",      "XdndDrop",  "XdndFinished",
                                   "XdndSelection", "XdndActionCopy", "TARGETS"};
static Atom atoms[AtCount];

static Display* display;
static Window source;
static Window target;
static Window messenger; /* the target, or the proxy it names */
static Atom dataType;
static const char* data;

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* A vanished window or requestor is answered by the protocol's timeouts, not
 * by Xlib's default handler, which ends the process. */
static int onXError(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

/* The one 32-bit item of property NAME on W, 0 when there is none. */
static unsigned long propertyValue(Window w, Atom name, Atom type) {
    Atom actualType;
    int format;
    unsigned long count, after, value = 0;
    unsigned char* items = NULL;
    if (XGetWindowProperty(display, w, name, 0, 1, False, type, &actualType, &format, &count, &after, &items) ==
            Success &&
        actualType == type && format == 32 && count == 1)
        value = *(unsigned long*)items;
    if (items) XFree(items);
    return value;
}

static void sendMessage(Atom type, long l1, long l2, long l3, long l4) {
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = target;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)source;
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(display, messenger, False, NoEventMask, &e);
    /* Handled by the server before we go on: a client that exits with
     * unread events may have its last requests dropped. */
    XSync(display, False);
}

/* Gives the data to whoever asks for it: some targets fetch it on XdndEnter
 * already, others after XdndDrop. */
static void answerRequest(const XSelectionRequestEvent* r) {
    XEvent reply;
    memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = r->requestor;
    reply.xselection.selection = r->selection;
    reply.xselection.target = r->target;
    reply.xselection.time = r->time;
    reply.xselection.property = None;
    /* Obsolete requestors name no property: the target's name stands for it. */
    Atom property = r->property != None ? r->property : r->target;
    if (r->selection == atoms[AtSelection] && r->target == dataType) {
        XChangeProperty(display, r->requestor, property, dataType, 8, PropModeReplace, (const unsigned char*)data,
                        (int)strlen(data));
        reply.xselection.property = property;
    } else if (r->selection == atoms[AtSelection] && r->target == atoms[AtTargets]) {
        Atom offered[2] = {atoms[AtTargets], dataType};
        XChangeProperty(display, r->requestor, property, XA_ATOM, 32, PropModeReplace, (unsigned char*)offered, 2);
        reply.xselection.property = property;
    }
    XSendEvent(display, r->requestor, False, NoEventMask, &reply);
    XFlush(display);
}

/* Waits for the target's message TYPE, serving the data meanwhile; 0 when it
 * did not come within StepMs. */
static int awaitMessage(Atom type, XClientMessageEvent* message) {
    double deadline = nowMs() + StepMs;
    for (;;) {
        while (XPending(display)) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == SelectionRequest) {
                answerRequest(&e.xselectionrequest);
            } else if (e.type == ClientMessage && e.xclient.message_type == type &&
                       (Window)e.xclient.data.l[0] == target) {
                *message = e.xclient;
                return 1;
            }
        }
        double left = deadline - nowMs();
        if (left <= 0) return 0;
        struct pollfd p = {ConnectionNumber(display), POLLIN, 0};
        poll(&p, 1, (int)left + 1);
    }
}

/* A server timestamp for the selection: the time of a property change of our
 * own window. */
static Time serverTime(void) {
    XChangeProperty(display, source, XA_WM_NAME, XA_STRING, 8, PropModeAppend, NULL, 0);
    XEvent e;
    XWindowEvent(display, source, PropertyChangeMask, &e);
    return e.xproperty.time;
}

static int parseNumber(const char* text, long lowest, long highest, long* value) {
    char* end;
    *value = strtol(text, &end, 0);
    return *text && !*end && *value >= lowest && *value <= highest;
}

int main(int argc, char** argv) {
    long window, x, y;
    if (argc < 5 || argc > 6 || !parseNumber(argv[1], 1, 0x7fffffffL, &window) || !parseNumber(argv[2], 0, 32767, &x) ||
        !parseNumber(argv[3], 0, 32767, &y)) {
        fprintf(stderr, "usage: xdnd_drop WINDOW_ID ROOT_X ROOT_Y DATA [MIME]\n");
        return 2;
    }
    data = argv[4];
    display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xdnd_drop: no X display\n");
        return 2;
    }
    XSetErrorHandler(onXError);
    XInternAtoms(display, atomNames, AtCount, False, atoms);
    dataType = XInternAtom(display, argc == 6 ? argv[5] : "text/uri-list", False);
    source = XCreateSimpleWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(display, source, PropertyChangeMask);

    /* A proxy counts only when it names itself too; otherwise it is stale. */
    target = (Window)window;
    messenger = target;
    Window proxy = propertyValue(target, atoms[AtProxy], XA_WINDOW);
    if (proxy && propertyValue(proxy, atoms[AtProxy], XA_WINDOW) == proxy) messenger = proxy;
    long version = (long)propertyValue(messenger, atoms[AtAware], XA_ATOM);
    if (version < LowestVersion) {
        fprintf(stderr, "xdnd_drop: window 0x%lx takes no XDND drops (XdndAware %ld)\n", target, version);
        return 2;
    }
    if (version > OurVersion) version = OurVersion;

    Time time = serverTime();
    XSetSelectionOwner(display, atoms[AtSelection], source, time);
    if (XGetSelectionOwner(display, atoms[AtSelection]) != source) {
        fprintf(stderr, "xdnd_drop: could not own XdndSelection\n");
        return 1;
    }
    sendMessage(atoms[AtEnter], version << 24, (long)dataType, None, None);
    sendMessage(atoms[AtPosition], 0, x << 16 | y, (long)time, (long)atoms[AtCopy]);
    XClientMessageEvent status;
    memset(&status, 0, sizeof status);
    if (!awaitMessage(atoms[AtStatus], &status) || !(status.data.l[1] & 1)) {
        fprintf(stderr, "xdnd_drop: window 0x%lx %s\n", target,
                status.message_type ? "refused the drop" : "gave no XdndStatus");
        sendMessage(atoms[AtLeave], 0, 0, 0, 0);
        return 1;
    }
    sendMessage(atoms[AtDrop], 0, (long)time, 0, 0);
    XClientMessageEvent finished;
    if (!awaitMessage(atoms[AtFinished], &finished)) {
        fprintf(stderr, "xdnd_drop: window 0x%lx did not finish the drop\n", target);
        return 1;
    }
    /* Before version 5, XdndFinished carries no verdict. */
    if (version >= 5 && !(finished.data.l[1] & 1)) {
        fprintf(stderr, "xdnd_drop: window 0x%lx finished without taking the data\n", target);
        return 1;
    }
    XCloseDisplay(display);
    return 0;
}
