// The forms at a display scale other than 96 dpi, made by the FLTK backend
// against a real X server (run under Xvfb, alone in its process: the
// backend reads the scale once, as the display opens). The server's Xft.dpi
// is set here to $SCALE_TEST_DPI (144 unless told) before that.
// The program's forms first: X's headers define None.
#include "app/EnvironmentDialog.h"
#include "app/MinimisedNotice.h"
#include "editor/ItemDialog.h"
#include "editor/SetEditor.h"
#include "generate/SortDialog.h"
#include "setfile/CurrentSetFile.h"

#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Light_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/fltk/FltkBackend.h"
#include "platform/fltk/FormPeer.h"
#include "platform/fltk/FormWindow.h"
#include "platform/fltk/XDisplay.h"
#include "platform/posix/PosixHost.h"

namespace {

using namespace platform::fltk;

int wantedDpi() {
    const char* dpi = std::getenv("SCALE_TEST_DPI");
    return dpi ? std::atoi(dpi) : 144;
}

// Sets the server's Xft.dpi, as a desktop does, on a connection of its own.
bool setServerDpi(int dpi) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    const std::string resources = "Xft.dpi:\t" + std::to_string(dpi) + "\n";
    Atom property = XInternAtom(display, "RESOURCE_MANAGER", False);
    XChangeProperty(display, DefaultRootWindow(display), property, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(resources.data()), static_cast<int>(resources.size()));
    XCloseDisplay(display);
    return true;
}

// A caption as FLTK draws a shortcut label: "&x" is x underlined, "&&" one "&".
std::string drawnText(const char* label) {
    std::string text;
    for (const char* p = label; *p; ++p) {
        if (*p == '&' && p[1]) ++p;
        text += *p;
    }
    return text;
}

// The room FLTK 1.3 leaves a widget's label (Fl_Light_Button::draw,
// Fl_Widget::draw_label): a check or radio button's mark comes first, a
// label aligned left or right is inset by 3 pixels a side, except in the
// backend's labels, which start at their left edge as on Windows.
int roomFor(const Fl_Widget& widget) {
    const int bx = Fl::box_dx(widget.box());
    if (dynamic_cast<const Fl_Light_Button*>(&widget)) return widget.w() - (bx + 2 + widget.labelsize() + 2) - bx;
    if (dynamic_cast<const Fl_Box*>(&widget)) return widget.w() - Fl::box_dw(widget.box());
    int room = widget.w() - Fl::box_dw(widget.box());
    if (room > 11 && (widget.align() & (FL_ALIGN_LEFT | FL_ALIGN_RIGHT))) room -= 6;
    return room;
}

// "Name: caption" of each control whose caption is wider or taller than its
// widget leaves it room for.
std::vector<std::string> cutCaptions(const platform::Form& form) {
    auto* peer = static_cast<FormPeer*>(form.peer.get());
    std::vector<std::string> cut;
    Fl_Window* window = peer->window();
    for (int i = 0; i < window->children(); ++i) {
        Fl_Widget* widget = window->child(i);
        platform::Control* control = peer->controlOf(widget);
        if (!control || !widget->label() || !*widget->label()) continue;
        fl_font(widget->labelfont(), widget->labelsize());
        const std::string text = drawnText(widget->label());
        int width = 0, lines = 0;
        for (std::size_t start = 0; start != std::string::npos; ++lines) {
            const std::size_t end = text.find('\n', start);
            const std::string line = text.substr(start, end == std::string::npos ? end : end - start);
            width = std::max(width, static_cast<int>(fl_width(line.c_str()) + 0.999));
            start = end == std::string::npos ? end : end + 1;
        }
        const int height = lines * fl_height();
        if (width > roomFor(*widget) || height > widget->h() - Fl::box_dh(widget->box())) {
            cut.push_back(control->name() + ": " + widget->label() + " (" + std::to_string(width) + "x" +
                          std::to_string(height) + " in " + std::to_string(roomFor(*widget)) + "x" +
                          std::to_string(widget->h()) + ")");
        }
    }
    return cut;
}

struct NoBoxes : setfile::InfoBoxes {
    int askYesNoCancel(const std::string&, const std::string&, const std::string&, const std::string&) override {
        return 2;
    }
    int askYesNo(const std::string&, const std::string&, const std::string&) override { return 2; }
    int tell(const std::string&, const std::string&) override { return 2; }
};

class ScaleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(fl_display, nullptr) << "run alone: the scale is read as the display opens";
        ASSERT_TRUE(setServerDpi(wantedDpi()));
    }
    void SetUp() override {
        char folder[] = "/tmp/tarvo-scale-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        folder_ = folder;
        host_ = std::make_unique<platform::posix::PosixHost>(folder_ + "/tarvo", std::vector<std::string>{});
        platform::setHost(host_.get());
        backend_ = std::make_unique<FltkBackend>();
        platform::setWindowing(backend_.get());
        ASSERT_EQ(displayDpi(), wantedDpi());
    }
    void TearDown() override {
        platform::setWindowing(nullptr);
        backend_.reset();
        platform::setHost(nullptr);
        host_.reset();
        if (!folder_.empty()) rmdir(folder_.c_str());
    }
    // Makes the form's window, as showing it would, without showing it.
    static void make(platform::Form& form) { form.peer = std::make_unique<FormPeer>(form); }

    // The form's window is its defined size at scale, and every caption fits.
    void expectWhole(platform::Form& form) {
        SCOPED_TRACE(form.className());
        make(form);
        Fl_Window* window = static_cast<FormPeer*>(form.peer.get())->window();
        EXPECT_EQ(window->w(), px(windowWidth(form)));
        EXPECT_EQ(window->h(), px(windowHeight(form)));
        EXPECT_EQ(cutCaptions(form), std::vector<std::string>{});
        backend_->destroyForm(form);
    }

    std::string folder_;
    std::unique_ptr<platform::posix::PosixHost> host_;
    std::unique_ptr<FltkBackend> backend_;
};

TEST_F(ScaleTest, CaptionsFitTheirControlsInEitherLanguage) {
    NoBoxes boxes;
    for (int japanese : {1, 0}) {
        SCOPED_TRACE(japanese ? "Japanese" : "English");
        const setfile::LanguageMode language{japanese, 1 - japanese};
        const setfile::Messages messages{language, boxes};
        setfile::ItemTable items;
        setfile::CurrentSetFile setFile;
        editor::SetEditor setEditor(items, setFile, messages);
        expectWhole(setEditor);
        editor::ItemDialog itemDialog(1, setfile::LauncherItem{}, messages);
        expectWhole(itemDialog);
        app::EnvironmentDialog environment({"/N", "/win", "/tarvo", true}, true, "tarvo", false, messages);
        expectWhole(environment);
        app::MinimisedNotice notice(language);
        expectWhole(notice);
        generate::SortTarvoDialog sortTarvo(language, {"a  Alpha"});
        expectWhole(sortTarvo);
        generate::SortKestiDialog sortKesti(language, std::vector<std::string>{"b  Bravo"});
        expectWhole(sortKesti);
    }
}

// The check above finds a caption that does not fit: a button too narrow
// for its text, and a check box whose mark leaves its text no room.
TEST_F(ScaleTest, CutCaptionIsFound) {
    platform::Form form("TNarrow", "Narrow", 200, 100, platform::BorderStyle::Dialog, 13);
    platform::Button wide(form, "wide", 10, 10, 180, 30, 0, "OK(&O)");
    platform::Button narrow(form, "narrow", 10, 45, 30, 30, 1, "Browse(&B)...");
    platform::CheckBox tight(form, "tight", 10, 80, 20, 20, 2, "Save");
    make(form);
    std::vector<std::string> cut = cutCaptions(form);
    ASSERT_EQ(cut.size(), 2u) << ::testing::PrintToString(cut);
    EXPECT_EQ(cut[0].rfind("narrow: Browse(&B)...", 0), 0u) << cut[0];
    EXPECT_EQ(cut[1].rfind("tight: Save", 0), 0u) << cut[1];
    backend_->destroyForm(form);
}

// The arithmetic every peer uses: defined units to pixels and back.
TEST(ScaleArithmetic, DpiAsTheDesktopTellsIt) {
    EXPECT_EQ(dpiFrom("Xft.dpi:\t144\n", nullptr), 144);
    EXPECT_EQ(dpiFrom("Xcursor.size:\t24\nXft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n", nullptr), 192);
    EXPECT_EQ(dpiFrom("Xft.dpi: 120.5", nullptr), 121);
    // Xft.dpi wins over GDK_SCALE; GDK_SCALE alone is a whole factor.
    EXPECT_EQ(dpiFrom("Xft.dpi:\t120\n", "2"), 120);
    EXPECT_EQ(dpiFrom("Xft.antialias:\t1\n", "2"), 192);
    EXPECT_EQ(dpiFrom(nullptr, "3"), 288);
    // Nothing told, nothing readable, or less than the layout's own: 96.
    EXPECT_EQ(dpiFrom(nullptr, nullptr), 96);
    EXPECT_EQ(dpiFrom("Xft.dpi:\tbig\n", "x"), 96);
    EXPECT_EQ(dpiFrom("Xft.dpi:\t72\n", nullptr), 96);
    EXPECT_EQ(dpiFrom("MyXft.dpi:\t144\n", nullptr), 96);
}

TEST(ScaleArithmetic, UnitsScaleToTheNearestPixelAndBack) {
    EXPECT_EQ(scaledTo(366, 96), 366);
    EXPECT_EQ(scaledTo(13, 144), 20);  // 19.5 rounds up
    EXPECT_EQ(scaledTo(-13, 144), -20);
    EXPECT_EQ(scaledTo(200, 192), 400);
    EXPECT_EQ(unscaledFrom(1024, 144), 683);
    for (int dpi : {96, 120, 144, 168, 192, 288}) {
        for (int units = -50; units <= 2000; ++units) {
            ASSERT_EQ(unscaledFrom(scaledTo(units, dpi), dpi), units) << units << " at " << dpi;
        }
    }
}

}  // namespace
