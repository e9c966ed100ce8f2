// The X11 window finder against a real X server (run under Xvfb, with no
// window manager): finding top-level windows by WM_CLASS and bringing one to
// the front with the input focus.
// GoogleTest first: Xlib's macros (None, Bool, Status) must not reach it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/fltk/WindowFinder.h"

namespace {

using platform::fltk::activateWindow;
using platform::fltk::findWindowByClass;

// X errors are collected rather than ending the test binary, so that a
// request the finder should not have made shows up as a failure.
int xErrors = 0;
int countXError(Display*, XErrorEvent*) {
    ++xErrors;
    return 0;
}

class WindowFinderTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Two connections: one plays the other program that owns the
        // windows, the other the launcher looking for them.
        owner_ = XOpenDisplay(nullptr);
        ASSERT_NE(owner_, nullptr) << "no X display; run under xvfb-run";
        seeker_ = XOpenDisplay(nullptr);
        ASSERT_NE(seeker_, nullptr);
        previousHandler_ = XSetErrorHandler(countXError);
        xErrors = 0;
    }

    void TearDown() override {
        if (owner_) {
            for (Window w : created_) XDestroyWindow(owner_, w);
            XDeleteProperty(owner_, DefaultRootWindow(owner_), clientListAtom(owner_));
            XSync(owner_, False);
            XCloseDisplay(owner_);
        }
        if (seeker_) XCloseDisplay(seeker_);
        XSetErrorHandler(previousHandler_);
    }

    static Atom clientListAtom(Display* d) { return XInternAtom(d, "_NET_CLIENT_LIST", False); }

    // An unmapped window with the given WM_CLASS, a child of `parent` (the
    // root when None).
    Window makeWindow(const char* instance, const char* cls, Window parent = None, int x = 10, int y = 10) {
        if (parent == None) parent = DefaultRootWindow(owner_);
        Window w = XCreateSimpleWindow(owner_, parent, x, y, 200, 150, 0, 0, WhitePixel(owner_, 0));
        XClassHint hint;
        std::string name = instance, klass = cls;
        hint.res_name = name.data();
        hint.res_class = klass.data();
        XSetClassHint(owner_, w, &hint);
        XStoreName(owner_, w, instance);
        XSelectInput(owner_, w, StructureNotifyMask);
        created_.push_back(w);
        XSync(owner_, False);
        return w;
    }

    // Maps the window and waits (bounded) until the server reports it mapped.
    bool mapAndWait(Window w) {
        XMapWindow(owner_, w);
        XFlush(owner_);
        for (int i = 0; i < 500; ++i) {
            XEvent ev;
            if (XCheckTypedWindowEvent(owner_, w, MapNotify, &ev)) return true;
            usleep(10000);  // <chrono> cannot be built with the CP932 execution charset
        }
        return false;
    }

    void destroyWindow(Window w) {
        XDestroyWindow(owner_, w);
        std::erase(created_, w);
        XSync(owner_, False);
    }

    Window makeMappedWindow(const char* instance, const char* cls, int x = 10, int y = 10) {
        Window w = makeWindow(instance, cls, None, x, y);
        EXPECT_TRUE(mapAndWait(w)) << instance << " never mapped";
        return w;
    }

    // The root's children, bottom to top, as the server holds them now.
    std::vector<Window> stackingOrder() {
        Window root, parent, *kids = nullptr;
        unsigned n = 0;
        std::vector<Window> out;
        XSync(seeker_, False);
        if (XQueryTree(seeker_, DefaultRootWindow(seeker_), &root, &parent, &kids, &n) && kids) {
            out.assign(kids, kids + n);
            XFree(kids);
        }
        return out;
    }

    Window focusedWindow() {
        Window focus = None;
        int revert = 0;
        XSync(seeker_, False);
        XGetInputFocus(seeker_, &focus, &revert);
        return focus;
    }

    Display* owner_ = nullptr;
    Display* seeker_ = nullptr;
    std::vector<Window> created_;
    XErrorHandler previousHandler_ = nullptr;
};

TEST_F(WindowFinderTest, FindsAMappedWindowByClassOrInstanceAndNothingElse) {
    Window w = makeMappedWindow("kesti", "KestiMainWin");
    makeMappedWindow("other", "OtherApp", 300, 10);

    EXPECT_EQ(findWindowByClass(seeker_, "KestiMainWin"), w);
    EXPECT_EQ(findWindowByClass(seeker_, "kesti"), w);
    // Names match whole and with their case: no prefix, no other case.
    EXPECT_EQ(findWindowByClass(seeker_, "KestiMain"), None);
    EXPECT_EQ(findWindowByClass(seeker_, "kestimainwin"), None);
    EXPECT_EQ(findWindowByClass(seeker_, "NoSuchClass"), None);
    // A window that is not a file manager is no file explorer.
    EXPECT_EQ(findWindowByClass(seeker_, platform::kFileExplorerClass), None);
    EXPECT_EQ(xErrors, 0);
}

TEST_F(WindowFinderTest, FileExplorerClassMatchesCommonFileManagers) {
    makeMappedWindow("kesti", "KestiMainWin");
    Window thunar = makeMappedWindow("thunar", "Thunar", 300, 10);
    EXPECT_EQ(findWindowByClass(seeker_, "ExploreWClass"), thunar);
    EXPECT_EQ(findWindowByClass(seeker_, "Thunar"), thunar);

    // A window that is gone is not found again.
    destroyWindow(thunar);
    EXPECT_EQ(findWindowByClass(seeker_, "Thunar"), None);
    EXPECT_EQ(findWindowByClass(seeker_, "ExploreWClass"), None);

    // The class GNOME's file manager sets today, with dots and capitals.
    Window nautilus = makeMappedWindow("org.gnome.Nautilus", "org.gnome.Nautilus", 300, 200);
    EXPECT_EQ(findWindowByClass(seeker_, "ExploreWClass"), nautilus);
    EXPECT_EQ(xErrors, 0);
}

TEST_F(WindowFinderTest, FindsAClientWindowInsideAFrameOfAReparentingManager) {
    Window frame = makeWindow("frame", "WmFrame");
    Window client = makeWindow("kesti", "KestiMainWin", frame, 0, 20);
    XMapWindow(owner_, client);
    ASSERT_TRUE(mapAndWait(frame));
    EXPECT_EQ(findWindowByClass(seeker_, "KestiMainWin"), client);
    EXPECT_EQ(xErrors, 0);
}

TEST_F(WindowFinderTest, PrefersTheWindowManagersClientList) {
    // Clients nested deeper than one frame are reached only through the list
    // a window manager keeps on the root.
    Window outer = makeWindow("outer", "WmFrame");
    Window inner = makeWindow("inner", "WmFrame", outer);
    Window client = makeWindow("kesti", "KestiMainWin", inner);
    ASSERT_EQ(findWindowByClass(seeker_, "KestiMainWin"), None);

    XChangeProperty(owner_, DefaultRootWindow(owner_), clientListAtom(owner_), XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&client), 1);
    XSync(owner_, False);
    EXPECT_EQ(findWindowByClass(seeker_, "KestiMainWin"), client);
    EXPECT_EQ(findWindowByClass(seeker_, "outer"), None);
    EXPECT_EQ(xErrors, 0);
}

TEST_F(WindowFinderTest, AClientListOfAnotherTypeOrFormatIsNoList) {
    // Any client may set the property oddly; read as windows, three bytes
    // of format 8 would be read far past their end.
    Window client = makeMappedWindow("kesti", "KestiMainWin");
    const unsigned char bytes[3] = {1, 2, 3};
    const unsigned short halves[2] = {1, 2};
    const long cardinal = static_cast<long>(client);
    struct Odd {
        Atom type;
        int format;
        const unsigned char* data;
        int count;
    } odd[] = {{XA_WINDOW, 8, bytes, 3},
               {XA_WINDOW, 16, reinterpret_cast<const unsigned char*>(halves), 2},
               {XA_CARDINAL, 32, reinterpret_cast<const unsigned char*>(&cardinal), 1}};
    for (const Odd& o : odd) {
        XChangeProperty(owner_, DefaultRootWindow(owner_), clientListAtom(owner_), o.type, o.format, PropModeReplace,
                        o.data, o.count);
        XSync(owner_, False);
        // The finder falls back to the window tree, where the client is.
        EXPECT_EQ(findWindowByClass(seeker_, "KestiMainWin"), client) << "format " << o.format;
    }
    EXPECT_EQ(xErrors, 0);
}

TEST_F(WindowFinderTest, ActivateRaisesToTheTopAndTakesTheFocus) {
    Window thunar = makeMappedWindow("thunar", "Thunar", 10, 10);
    Window cover = makeMappedWindow("cover", "CoverApp", 50, 50);
    std::vector<Window> before = stackingOrder();
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(before.back(), cover) << "the later window should start on top";
    ASSERT_NE(focusedWindow(), thunar);

    Window found = findWindowByClass(seeker_, "ExploreWClass");
    ASSERT_EQ(found, thunar);
    activateWindow(seeker_, found);

    std::vector<Window> after = stackingOrder();
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back(), thunar);
    EXPECT_EQ(focusedWindow(), thunar);

    // And back again: the other window can be activated the same way.
    activateWindow(seeker_, cover);
    EXPECT_EQ(stackingOrder().back(), cover);
    EXPECT_EQ(focusedWindow(), cover);
    EXPECT_EQ(xErrors, 0);
}

TEST_F(WindowFinderTest, ActivatingAnUnmappedWindowNeitherShowsItNorFails) {
    Window shown = makeMappedWindow("cover", "CoverApp");
    activateWindow(seeker_, shown);
    ASSERT_EQ(focusedWindow(), shown);

    Window hidden = makeWindow("kesti", "KestiMainWin");
    activateWindow(seeker_, hidden);
    XSync(seeker_, False);

    XWindowAttributes attrs;
    ASSERT_TRUE(XGetWindowAttributes(seeker_, hidden, &attrs));
    EXPECT_EQ(attrs.map_state, IsUnmapped);
    EXPECT_EQ(focusedWindow(), shown);
    // Focusing a window that cannot be seen is a BadMatch error.
    EXPECT_EQ(xErrors, 0);
}

}  // namespace
