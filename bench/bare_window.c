/* The least an Xlib program does to show a window: the floor against which
 * the launcher's start-up time is compared. Runs until it is killed. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>

int main(void) {
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "bare_window: no X display\n");
        return 1;
    }
    int s = DefaultScreen(d);
    Window w = XCreateSimpleWindow(d, RootWindow(d, s), 0, 0, 200, 366, 0, BlackPixel(d, s), WhitePixel(d, s));
    XClassHint hint = {"bare_window", "BareWindow"};
    XSetClassHint(d, w, &hint);
    XStoreName(d, w, "bare window");
    XSelectInput(d, w, ExposureMask);
    XMapWindow(d, w);
    for (;;) {
        XEvent e;
        XNextEvent(d, &e);
    }
}
