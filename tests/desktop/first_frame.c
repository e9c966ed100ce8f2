/* first_frame: starts a program and compares its window's first frame on the
 * screen, taken the moment the server reports the map, with the frame half a
 * second later. A program that maps an empty window and draws afterwards
 * shows two different frames.
 *
 * Usage: first_frame FIRST.ppm LATER.ppm program [args...]
 * Exit: 0 same frames, 1 different or blank, 2 no window or bad use. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* Writes the image as PPM; returns the number of distinct pixel values seen
 * among the first 64 (a blank window has one). */
static int save(XImage* image, const char* path) {
    unsigned long seen[64];
    int distinct = 0;
    FILE* out = fopen(path, "wb");
    if (out) fprintf(out, "P6 %d %d 255\n", image->width, image->height);
    for (int y = 0; y < image->height; y++) {
        for (int x = 0; x < image->width; x++) {
            unsigned long p = XGetPixel(image, x, y);
            if (out) {
                fputc((int)((p >> 16) & 255), out);
                fputc((int)((p >> 8) & 255), out);
                fputc((int)(p & 255), out);
            }
            int known = 0;
            for (int i = 0; i < distinct && !known; i++) known = seen[i] == p;
            if (!known && distinct < 64) seen[distinct++] = p;
        }
    }
    if (out) fclose(out);
    return distinct;
}

static int sameImages(XImage* a, XImage* b) {
    if (a->width != b->width || a->height != b->height) return 0;
    for (int y = 0; y < a->height; y++)
        for (int x = 0; x < a->width; x++)
            if (XGetPixel(a, x, y) != XGetPixel(b, x, y)) return 0;
    return 1;
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: first_frame FIRST.ppm LATER.ppm program [args...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "first_frame: no display\n");
        return 2;
    }
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    /* The program's windows are still unmapped while it starts; the first
     * mapped child of the root is its first frame. Grab the server so that
     * the program cannot draw between the map and the picture. */
    Window window = 0;
    double deadline = nowMs() + 20000;
    XImage* first = NULL;
    while (!first && nowMs() < deadline) {
        while (XPending(display)) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == MapNotify && e.xmap.event == root && !first) {
                XGrabServer(display);
                window = e.xmap.window;
                XWindowAttributes a;
                if (XGetWindowAttributes(display, window, &a))
                    first = XGetImage(display, window, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
                XUngrabServer(display);
                XFlush(display);
            }
        }
        if (first) break;
        int status;
        if (waitpid(child, &status, WNOHANG) == child) {
            fprintf(stderr, "first_frame: the program ended before it mapped a window\n");
            return 2;
        }
        struct pollfd p = {ConnectionNumber(display), POLLIN, 0};
        poll(&p, 1, 20);
    }
    int rc = 2;
    if (!first) {
        fprintf(stderr, "first_frame: no window mapped, or its picture could not be taken\n");
    } else {
        usleep(500 * 1000);
        XWindowAttributes a;
        XImage* later = XGetWindowAttributes(display, window, &a)
                            ? XGetImage(display, window, 0, 0, a.width, a.height, AllPlanes, ZPixmap)
                            : NULL;
        int firstColours = save(first, argv[1]);
        int laterColours = later ? save(later, argv[2]) : 0;
        if (!later) {
            fprintf(stderr, "first_frame: the window was gone after half a second\n");
        } else if (laterColours < 3) {
            fprintf(stderr, "first_frame: the window is blank even after half a second\n");
            rc = 1;
        } else if (!sameImages(first, later)) {
            fprintf(stderr, "first_frame: the first frame (%d colours) differs from the one drawn later (%d colours)\n",
                    firstColours, laterColours);
            rc = 1;
        } else {
            printf("first_frame: the first frame is the whole window (%dx%d)\n", a.width, a.height);
            rc = 0;
        }
        if (later) XDestroyImage(later);
        XDestroyImage(first);
    }
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    XCloseDisplay(display);
    return rc;
}
