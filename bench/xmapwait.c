/* xmapwait: start-up timer. Starts COMMAND, prints the milliseconds from just
 * before the fork to the first map of a top-level window of it and that
 * window's class, then ends the command.
 *
 * Usage: xmapwait [-g] [-d] [-w ms] [-t ms] [-h ms] COMMAND...
 *   -d     also watch the window's pixels for -w ms after the map (default
 *          400) and print when they last changed: when the content was drawn
 *   -t ms  give up when nothing maps within this time (default 10000)
 *   -h ms  keep the command running this long after the map (default 0)
 *   -g     end the command's first child, not the command, so that a wrapper
 *          such as /usr/bin/time can report
 * Prints "MAP ms class=CLASS" (with -d: "MAP ms class=CLASS drawn=DRAWN ms").
 * The command's standard output goes to standard error, so that this line
 * stays alone on standard output.
 * Exit: 0 measured; 1 nothing mapped in time or the command ended first; 2 bad
 * use or no display. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

/* Between two pictures of the window: the timer must not take the CPU and the
 * X server from the program it measures. */
enum { PollGapMs = 2, EndGraceMs = 5000 };

static Display* display;
static pid_t child;
static Atom wmPid;

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* A window that goes away while it is watched is no reason to stop. */
static int onXError(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

/* Fields of /proc/PID/stat after the command name, which may hold blanks:
 * ppid is the second, starttime the twentieth. */
static int readStat(pid_t pid, long* ppid, unsigned long long* start) {
    char path[64], line[1024];
    snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
    FILE* f = fopen(path, "r");
    if (!f) return 0;
    int ok = fgets(line, sizeof line, f) != NULL;
    fclose(f);
    char* rest = ok ? strrchr(line, ')') : NULL;
    return rest && sscanf(rest + 2, "%*c %ld %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %llu",
                          ppid, start) == 2;
}

static int isOurs(pid_t pid) {
    for (int depth = 0; pid > 1 && depth < 64; depth++) {
        if (pid == child) return 1;
        long ppid;
        unsigned long long start;
        if (!readStat(pid, &ppid, &start)) return 0;
        pid = (pid_t)ppid;
    }
    return 0;
}

/* Another client's window (a window manager's, a helper Wine started before)
 * says so by its _NET_WM_PID; one that names no process counts as ours. */
static int isCommandWindow(Window w) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* value = NULL;
    int ours = 1;
    if (XGetWindowProperty(display, w, wmPid, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &value) ==
            Success &&
        type == XA_CARDINAL && format == 32 && count == 1)
        ours = isOurs((pid_t)((unsigned long*)value)[0]);
    if (value) XFree(value);
    return ours;
}

static pid_t firstChildOf(pid_t parent) {
    pid_t first = 0;
    unsigned long long firstStart = 0;
    DIR* proc = opendir("/proc");
    struct dirent* entry;
    while (proc && (entry = readdir(proc))) {
        pid_t pid = (pid_t)atoi(entry->d_name);
        long ppid;
        unsigned long long start;
        if (pid > 0 && readStat(pid, &ppid, &start) && ppid == parent && (!first || start < firstStart)) {
            first = pid;
            firstStart = start;
        }
    }
    if (proc) closedir(proc);
    return first;
}

/* Gone and reaped within the grace time, else killed. */
static void endCommand(pid_t victim) {
    kill(victim, SIGTERM);
    double deadline = nowMs() + EndGraceMs;
    while (waitpid(child, NULL, WNOHANG) == 0) {
        if (nowMs() > deadline) {
            kill(victim, SIGKILL);
            kill(child, SIGKILL);
            waitpid(child, NULL, 0);
            return;
        }
        usleep(5000);
    }
}

/* The watched window's size follows its ConfigureNotify. */
static void readSizes(Window watched, int* width, int* height) {
    while (XPending(display)) {
        XEvent e;
        XNextEvent(display, &e);
        if (e.type == ConfigureNotify && e.xconfigure.window == watched) {
            *width = e.xconfigure.width;
            *height = e.xconfigure.height;
        }
    }
}

/* The first top-level window of the command that the server reports mapped,
 * with the time its event was read; None when none yet. */
static Window readMaps(double* mapped, XWindowAttributes* attributes) {
    while (XPending(display)) {
        XEvent e;
        XNextEvent(display, &e);
        if (e.type != MapNotify || e.xmap.event != DefaultRootWindow(display)) continue;
        *mapped = nowMs();
        Window w = e.xmap.window;
        if (XGetWindowAttributes(display, w, attributes) && attributes->class == InputOutput && isCommandWindow(w))
            return w;
    }
    return None;
}

static void waitForEvents(double untilMs) {
    double left = untilMs - nowMs();
    if (left <= 0) return;
    struct pollfd p = {ConnectionNumber(display), POLLIN, 0};
    poll(&p, 1, (int)left + 1);
}

static XImage* picture(Window w, int width, int height) {
    return XGetImage(display, w, 0, 0, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
}

static int samePicture(XImage* a, XImage* b) {
    if (!a || !b) return a == b;
    return a->width == b->width && a->height == b->height && a->bytes_per_line == b->bytes_per_line &&
           memcmp(a->data, b->data, (size_t)a->bytes_per_line * (size_t)a->height) == 0;
}

/* Time of the last change of the window's pixels until watchEnd: the time the
 * request that first showed the final picture went out. */
static double lastChange(Window w, int width, int height, double watchEnd) {
    double seen = nowMs();
    XImage* last = picture(w, width, height);
    for (;;) {
        waitForEvents(nowMs() + PollGapMs);
        readSizes(w, &width, &height);
        double t = nowMs();
        if (t >= watchEnd) break;
        XImage* now = picture(w, width, height);
        if (!samePicture(last, now)) seen = t;
        if (last) XDestroyImage(last);
        last = now;
    }
    if (last) XDestroyImage(last);
    return seen;
}

static void usage(void) {
    fprintf(stderr, "usage: xmapwait [-g] [-d] [-w ms] [-t ms] [-h ms] COMMAND...\n");
    exit(2);
}

static long milliseconds(const char* text) {
    char* end;
    long value = strtol(text, &end, 10);
    if (!*text || *end || value < 0) usage();
    return value;
}

int main(int argc, char** argv) {
    int grandchild = 0, watch = 0, option;
    long watchMs = 400, timeoutMs = 10000, holdMs = 0;
    /* "+": the command's own options are not ours. */
    while ((option = getopt(argc, argv, "+gdw:t:h:")) != -1) {
        switch (option) {
        case 'g': grandchild = 1; break;
        case 'd': watch = 1; break;
        case 'w': watchMs = milliseconds(optarg); break;
        case 't': timeoutMs = milliseconds(optarg); break;
        case 'h': holdMs = milliseconds(optarg); break;
        default: usage();
        }
    }
    if (optind >= argc) usage();
    display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xmapwait: no X display\n");
        return 2;
    }
    XSetErrorHandler(onXError);
    wmPid = XInternAtom(display, "_NET_WM_PID", False);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    XSync(display, False);

    double start = nowMs();
    child = fork();
    if (child < 0) {
        perror("xmapwait: fork");
        return 2;
    }
    if (child == 0) {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(argv[optind], argv + optind);
        fprintf(stderr, "xmapwait: cannot run %s\n", argv[optind]);
        _exit(127);
    }

    /* Blocked on the connection until the server speaks: the map is taken
     * the moment its event arrives, and costs the command no CPU before. */
    Window window = None;
    double mapped = 0;
    XWindowAttributes attributes;
    while (!(window = readMaps(&mapped, &attributes))) {
        int status;
        if (waitpid(child, &status, WNOHANG) == child) {
            fprintf(stderr, "xmapwait: %s ended (status %d) before it mapped a window\n", argv[optind],
                    WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
            return 1;
        }
        if (nowMs() - start > timeoutMs) {
            fprintf(stderr, "xmapwait: no window mapped within %ld ms\n", timeoutMs);
            endCommand(child);
            return 1;
        }
        /* Woken now and then to see whether the command is still there. */
        waitForEvents(nowMs() + 20);
    }
    double drawn = watch ? lastChange(window, attributes.width, attributes.height, mapped + watchMs) : 0;

    char windowClass[64] = "?";
    XClassHint hint;
    if (XGetClassHint(display, window, &hint)) {
        snprintf(windowClass, sizeof windowClass, "%s", hint.res_class ? hint.res_class : "?");
        /* One word, as the callers read it. */
        for (char* c = windowClass; *c; c++)
            if (*c == ' ') *c = '_';
        if (hint.res_name) XFree(hint.res_name);
        if (hint.res_class) XFree(hint.res_class);
    }
    printf("%.1f ms class=%s", mapped - start, windowClass);
    if (watch) printf(" drawn=%.1f ms", drawn - start);
    printf("\n");
    fflush(stdout);

    while (nowMs() < mapped + holdMs) usleep(1000);
    pid_t victim = grandchild ? firstChildOf(child) : 0;
    endCommand(victim ? victim : child);
    XCloseDisplay(display);
    return 0;
}
