// Display scaling of the Windows backend: the one conversion rounds as
// MulDiv does; a form's window, its controls, their font and the list's
// line height are scaled to the window's DPI when made and again when the
// DPI changes (WM_DPICHANGED), and no caption is cut at any scaling. The
// tests of windows run on a virtual display of their own, once at 96 dpi
// and once each with Wine's LogPixels at 144 and 192.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/EnvironmentDialog.h"
#include "app/MinimisedNotice.h"
#include "editor/ItemDialog.h"
#include "generate/SortDialog.h"
#include "platform/win32ui/Controls.h"
#include "platform/win32ui/Dpi.h"
#include "platform/win32ui/FormWindow.h"
#include "platform/win32ui/Win32Backend.h"

using namespace platform;
using win32ui::scaled;
using win32ui::unscaled;

TEST(Win32Dpi, ConvertsAsMulDivRoundsAndBack) {
    for (int dpi : {96, 120, 144, 168, 192, 288}) {
        for (int value = -400; value <= 400; ++value) {
            ASSERT_EQ(scaled(value, dpi), MulDiv(value, dpi, 96)) << value << " at " << dpi;
            ASSERT_EQ(unscaled(value, dpi), MulDiv(value, 96, dpi)) << value << " at " << dpi;
            // A defined position read back from its scaled window is itself.
            ASSERT_EQ(unscaled(scaled(value, dpi), dpi), value) << value << " at " << dpi;
        }
    }
}

namespace {

// Two "System" heights, every kind of control, captions that fill their
// controls at 96 dpi as the program's do, and a list with its own line height.
struct ScaledForm : Form {
    explicit ScaledForm(int fontHeight)
        : Form("TWin32DpiTest", "ﾗﾝﾁｬｰ設定", 330, 190, BorderStyle::Single, fontHeight) {}
    ~ScaledForm() override { destroy(); }
    Label label{*this, "Label1", 8, 6, 200, 20, "ｷｰ(&K) と ﾀｲﾄﾙ"};
    Button ok{*this, "btnOk", 8, 30, 60, 24, 0, "OK"};
    Button cancel{*this, "btnCansel", 70, 30, 90, 24, 1, "ｷｬﾝｾﾙ(&C)"};
    CheckBox check{*this, "CheckBox1", 8, 60, 150, 18, 2, "Set Position"};
    RadioButton radio{*this, "RadioButton1", 160, 60, 150, 18, 3, "最小化(&Z)"};
    Edit edit{*this, "Edit1", 8, 82, 200, 21, 4};
    ListBox list{*this, "ListBox1", 8, 108, 200, 78, 5, false, 18};
};

class Win32DpiOnDisplay : public ::testing::Test {
protected:
    void SetUp() override { setWindowing(&backend); }
    void TearDown() override { setWindowing(nullptr); }

    win32ui::FormPeer& createWindow(Form& form) {
        form.peer = std::make_unique<win32ui::FormPeer>(form, backend, GetModuleHandleW(nullptr), nullptr);
        return *static_cast<win32ui::FormPeer*>(form.peer.get());
    }
    static HWND hwndOf(Control& control) { return static_cast<win32ui::ControlPeer*>(control.peer.get())->hwnd(); }
    static SIZE clientSize(HWND hwnd) {
        RECT r;
        GetClientRect(hwnd, &r);
        return {r.right, r.bottom};
    }
    // A control's rectangle in its form's client coordinates.
    static RECT placeOf(HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static int fontPixels(HWND hwnd) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
        return -font.lfHeight;
    }

    // The window, every control, their font and the list's lines as scaled
    // to the DPI: each scaled edge within a pixel.
    static void expectScaled(ScaledForm& form, HWND window, int dpi) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " dpi");
        SIZE client = clientSize(window);
        EXPECT_NEAR(client.cx, scaled(form.clientWidth(), dpi), 1);
        EXPECT_NEAR(client.cy, scaled(form.clientHeight(), dpi), 1);
        for (Control* c : form.controls()) {
            SCOPED_TRACE(c->name());
            RECT r = placeOf(hwndOf(*c));
            EXPECT_NEAR(r.left, scaled(c->left(), dpi), 1);
            EXPECT_NEAR(r.top, scaled(c->top(), dpi), 1);
            EXPECT_NEAR(r.right, scaled(c->left() + c->width(), dpi), 1);
            EXPECT_NEAR(r.bottom, scaled(c->top() + c->height(), dpi), 1);
            // 12 pixels at 96 dpi for a "System" height of 13, 14 for 19.
            EXPECT_EQ(fontPixels(hwndOf(*c)), scaled(form.fontHeight() >= 19 ? 14 : 12, dpi));
        }
        EXPECT_EQ(SendMessageW(hwndOf(form.list), LB_GETITEMHEIGHT, 0, 0), scaled(18, dpi));
    }

    // Every caption, line by line without its "&", in its control's font is
    // no wider or taller than the room the control leaves it.
    static void expectCaptionsFit(Form& form) {
        for (Control* c : form.controls()) {
            if (c->kind() == ControlKind::Edit || c->kind() == ControlKind::ListBox) continue;
            HWND hwnd = hwndOf(*c);
            wchar_t text[512] = {};
            int length = GetWindowTextW(hwnd, text, 512);
            SIZE room = clientSize(hwnd);
            // A check box's or radio button's mark takes its own room.
            if (c->kind() == ControlKind::CheckBox || c->kind() == ControlKind::RadioButton)
                room.cx -= GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
            HDC dc = GetDC(hwnd);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
            std::wstring line;
            for (int i = 0; i <= length; ++i) {
                if (i < length && text[i] != L'\r' && text[i] != L'\n') {
                    if (text[i] == L'&' && i + 1 < length) ++i;
                    line += text[i];
                    continue;
                }
                SIZE extent{};
                GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &extent);
                EXPECT_LE(extent.cx, room.cx) << c->name() << " cuts \"" << c->caption() << "\"";
                EXPECT_LE(extent.cy, room.cy) << c->name() << " cuts \"" << c->caption() << "\"";
                line.clear();
            }
            SelectObject(dc, old);
            ReleaseDC(hwnd, dc);
        }
    }

    win32ui::Win32Backend backend{GetModuleHandleW(nullptr), SW_HIDE};
};

}  // namespace

TEST_F(Win32DpiOnDisplay, FormsAreMadeAtTheScreensDpiWithCaptionsWhole) {
    const int dpi = win32ui::systemDpi();
    for (int fontHeight : {13, 19}) {
        SCOPED_TRACE("System height " + std::to_string(fontHeight));
        ScaledForm form(fontHeight);
        win32ui::FormPeer& peer = createWindow(form);
        EXPECT_EQ(peer.dpi(), dpi);
        expectScaled(form, peer.hwnd(), dpi);
        expectCaptionsFit(form);
        // The program sees the frame in defined units: the window's outer
        // width is the form's width scaled, within the rounding.
        RECT outer;
        GetWindowRect(peer.hwnd(), &outer);
        EXPECT_NEAR(outer.right - outer.left, scaled(form.width(), dpi), 2);
    }
}

TEST_F(Win32DpiOnDisplay, DpiChangeTakesTheSuggestedRectAndRescalesEverything) {
    ScaledForm form(13);
    win32ui::FormPeer& peer = createWindow(form);
    const int first = peer.dpi();
    ShowWindow(peer.hwnd(), SW_SHOWNA);
    // As the system sends it: the new DPI twice in wParam, the rectangle
    // the window should take in lParam.
    for (int dpi : {first * 2, first * 3 / 2, first}) {
        // Wine draws the frame at the screen's DPI whatever the message
        // says: the suggestion keeps the frame the window has.
        RECT window, client;
        GetWindowRect(peer.hwnd(), &window);
        GetClientRect(peer.hwnd(), &client);
        SIZE outer{scaled(form.clientWidth(), dpi) + (window.right - window.left) - client.right,
                   scaled(form.clientHeight(), dpi) + (window.bottom - window.top) - client.bottom};
        RECT suggested{60, 40, 60 + outer.cx, 40 + outer.cy};
        SendMessageW(peer.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(peer.dpi(), dpi);
        RECT got;
        GetWindowRect(peer.hwnd(), &got);
        EXPECT_EQ(got.left, suggested.left);
        EXPECT_EQ(got.top, suggested.top);
        EXPECT_EQ(got.right, suggested.right);
        EXPECT_EQ(got.bottom, suggested.bottom);
        // The program reads the position back in defined units.
        EXPECT_EQ(form.left(), unscaled(60, dpi));
        EXPECT_EQ(form.top(), unscaled(40, dpi));
        expectScaled(form, peer.hwnd(), dpi);
        expectCaptionsFit(form);
    }
}

namespace {

// The boxes are never asked while forms are only made.
struct NoBoxes : setfile::InfoBoxes {
    int askYesNoCancel(const std::string&, const std::string&, const std::string&, const std::string&) override {
        return 2;
    }
    int askYesNo(const std::string&, const std::string&, const std::string&) override { return 7; }
    int tell(const std::string&, const std::string&) override { return 6; }
};

}  // namespace

TEST_F(Win32DpiOnDisplay, ProgramFormsTakeTheirScaledSizesWithCaptionsWhole) {
    const int dpi = win32ui::systemDpi();
    NoBoxes boxes;
    for (setfile::LanguageMode language : {setfile::LanguageMode{1, 0}, setfile::LanguageMode{0, 1}}) {
        SCOPED_TRACE(language.english ? "English" : "Japanese");
        setfile::Messages messages{language, boxes};
        std::vector<std::unique_ptr<Form>> forms;
        forms.push_back(std::make_unique<app::MinimisedNotice>(language));
        forms.push_back(std::make_unique<generate::SortTarvoDialog>(language, std::vector<std::string>{"a  Item"}));
        forms.push_back(std::make_unique<generate::SortKestiDialog>(language, std::nullopt));
        forms.push_back(std::make_unique<editor::ItemDialog>(0, setfile::LauncherItem{}, messages));
        forms.push_back(std::make_unique<app::EnvironmentDialog>(
            app::EnvironmentSettings{"/N", "C:\\WINDOWS\\", "C:\\"}, true, "TARVO.EXE", false, messages));
        for (auto& form : forms) {
            SCOPED_TRACE(form->className());
            HWND hwnd = createWindow(*form).hwnd();
            RECT r;
            // A sizeable form's definition gives its outer size.
            if (form->border() == BorderStyle::Sizeable) GetWindowRect(hwnd, &r);
            else GetClientRect(hwnd, &r);
            EXPECT_NEAR(r.right - r.left, scaled(form->clientWidth(), dpi), 1);
            EXPECT_NEAR(r.bottom - r.top, scaled(form->clientHeight(), dpi), 1);
            expectCaptionsFit(*form);
        }
    }
}
