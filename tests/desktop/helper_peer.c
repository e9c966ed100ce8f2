/* helper_peer: the other side in the tests of our X11 helpers (helpers.sh).
 *
 *   helper_peer window MAP_MS DRAW_MS
 *       maps a black window MAP_MS after it starts and paints it white DRAW_MS
 *       after the map (never when DRAW_MS < 0); runs until it is killed.
 *   helper_peer target VERSION MODE
 *       an XDND target (no XdndAware when VERSION is 0): prints its window
 *       id, then a line for each message it gets and the data it fetches;
 *       MODE accept, refuse, silent (no XdndStatus) or unfinished (no
 *       XdndFinished). Ends after a leave or a finished drop, or after 30 s. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static Display* display;

_Noreturn static void paintWindow(long mapMs, long drawMs) {
    usleep((useconds_t)mapMs * 1000);
    int s = DefaultScreen(display);
    Window w = XCreateSimpleWindow(display, RootWindow(display, s), 0, 0, 160, 120, 0, 0, BlackPixel(display, s));
    XClassHint hint = {"helper_peer", "HelperPeer"};
    XSetClassHint(display, w, &hint);
    /* As toolkits do: the timer tells its command's windows by it. */
    long pid = getpid();
    XChangeProperty(display, w, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    (unsigned char*)&pid, 1);
    XSelectInput(display, w, StructureNotifyMask);
    XMapWindow(display, w);
    XEvent e;
    do XNextEvent(display, &e);
    while (e.type != MapNotify);
    if (drawMs >= 0) {
        usleep((useconds_t)drawMs * 1000);
        GC gc = XCreateGC(display, w, 0, NULL);
        XSetForeground(display, gc, WhitePixel(display, s));
        XFillRectangle(display, w, gc, 0, 0, 160, 120);
        XSync(display, False);
    }
    for (;;) XNextEvent(display, &e);
}

enum { AtAware, AtEnter, AtPosition, AtStatus, AtLeave, AtDrop, AtFinished, AtSelection, AtCopy, AtData, AtCount };
static char* atomNames[AtCount] = {"XdndAware", "XdndEnter",    "XdndPosition",  "XdndStatus",     "XdndLeave",
                                   "XdndDrop",  "XdndFinished", "XdndSelection", "XdndActionCopy", "PEER_DATA"};
static Atom atoms[AtCount];

static void reply(Window source, Window self, Atom type, long l1, long l2, long l4) {
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = source;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)self;
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[4] = l4;
    XSendEvent(display, source, False, NoEventMask, &e);
    XSync(display, False); /* delivered even when we exit next */
}

/* Control bytes as \xHH, so that a line holds the whole data. */
static void printData(Window self) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* value = NULL;
    XGetWindowProperty(display, self, atoms[AtData], 0, 65536, True, AnyPropertyType, &type, &format, &count, &after,
                       &value);
    printf("data %lu ", count);
    for (unsigned long i = 0; i < count; i++)
        if (value[i] < 0x20) printf("\\x%02x", value[i]);
        else putchar(value[i]);
    printf("\n");
    if (value) XFree(value);
}

static int dropTarget(long version, const char* mode) {
    alarm(30);
    XInternAtoms(display, atomNames, AtCount, False, atoms);
    Window self = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 100, 100, 0, 0, 0);
    if (version)
        XChangeProperty(display, self, atoms[AtAware], XA_ATOM, 32, PropModeReplace, (unsigned char*)&version, 1);
    XSync(display, False);
    printf("%lu\n", self);
    Window source = None;
    Atom type = None;
    for (;;) {
        XEvent e;
        XNextEvent(display, &e);
        if (e.type == SelectionNotify) {
            printData(self);
            if (strcmp(mode, "unfinished") != 0) reply(source, self, atoms[AtFinished], 1, (long)atoms[AtCopy], 0);
            return 0;
        }
        if (e.type != ClientMessage) continue;
        Atom message = e.xclient.message_type;
        long* l = e.xclient.data.l;
        if (message == atoms[AtEnter]) {
            source = (Window)l[0];
            type = (Atom)l[2];
            char* name = XGetAtomName(display, type);
            printf("enter version=%lu type=%s\n", (unsigned long)l[1] >> 24, name);
            XFree(name);
        } else if (message == atoms[AtPosition]) {
            printf("position %ld %ld\n", (l[2] >> 16) & 0xffff, l[2] & 0xffff);
            int accept = strcmp(mode, "refuse") != 0;
            if (strcmp(mode, "silent") != 0)
                reply(source, self, atoms[AtStatus], accept, 0, accept ? (long)atoms[AtCopy] : None);
        } else if (message == atoms[AtLeave]) {
            printf("leave\n");
            return 0;
        } else if (message == atoms[AtDrop]) {
            printf("drop\n");
            XConvertSelection(display, atoms[AtSelection], type, atoms[AtData], self, (Time)l[2]);
        }
    }
}

int main(int argc, char** argv) {
    setvbuf(stdout, NULL, _IOLBF, 0);
    display = XOpenDisplay(NULL);
    if (!display || argc != 4) {
        fprintf(stderr, "usage: helper_peer window MAP_MS DRAW_MS | target VERSION MODE   (on an X display)\n");
        return 2;
    }
    if (strcmp(argv[1], "window") == 0) paintWindow(atol(argv[2]), atol(argv[3]));
    return dropTarget(atol(argv[2]), argv[3]);
}
