// The Windows backend's native windows: texts shown and taken in through
// the CP932 table, and typed characters as Windows hands them over. Native
// windows need a display: ctest runs these on a virtual one of their own.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/win32ui/Controls.h"
#include "platform/win32ui/FormWindow.h"
#include "platform/win32ui/Keyboard.h"
#include "platform/win32ui/Win32Backend.h"

using namespace platform;

namespace {

struct TestForm : Form {
    TestForm() : Form("TWin32UiTest", "ﾗﾝﾁｬｰ設定", 300, 200, BorderStyle::Single, 13) {}
    ~TestForm() override { destroy(); }
};

class Win32UiOnDisplay : public ::testing::Test {
protected:
    void SetUp() override { setWindowing(&backend); }
    void TearDown() override { setWindowing(nullptr); }

    // The form's window and its controls' windows, not shown.
    void createWindow(Form& form) {
        form.peer = std::make_unique<win32ui::FormPeer>(form, backend, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(hwndOf(form), nullptr);
    }
    static HWND hwndOf(Form& form) { return static_cast<win32ui::FormPeer*>(form.peer.get())->hwnd(); }
    static HWND hwndOf(Control& control) { return static_cast<win32ui::ControlPeer*>(control.peer.get())->hwnd(); }
    static std::wstring textOf(HWND hwnd) {
        wchar_t text[256] = {};
        GetWindowTextW(hwnd, text, 256);
        return text;
    }
    static void type(HWND hwnd, wchar_t c) { SendMessageW(hwnd, WM_CHAR, c, 1); }

    win32ui::Win32Backend backend{GetModuleHandleW(nullptr), SW_HIDE};
};

}  // namespace

TEST_F(Win32UiOnDisplay, TextsShowTheirCharacters) {
    TestForm form;
    Label label(form, "Label1", 8, 8, 100, 16, "表ソ十");
    Button button(form, "btnStart", 8, 30, 80, 24, 0, "起動");
    ListBox list(form, "ListBox1", 8, 60, 200, 100, 1);
    list.add("h  表計算");
    // Bytes that are no CP932 character show as "?", as the ANSI calls show them.
    list.add("x\x85\x40y");
    MainMenu& menu = form.createMenu();
    menu.add("MenuOption", "ｵﾌﾟｼｮﾝ(&O)").add("MenuLauncherSet", "ﾗﾝﾁｬｰ設定(&L)...");
    createWindow(form);

    EXPECT_EQ(textOf(hwndOf(form)), L"ﾗﾝﾁｬｰ設定");
    EXPECT_EQ(textOf(hwndOf(label)), L"表ソ十");
    EXPECT_EQ(textOf(hwndOf(button)), L"起動");
    wchar_t line[64] = {};
    SendMessageW(hwndOf(list), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
    EXPECT_EQ(std::wstring(line), L"h  表計算");
    SendMessageW(hwndOf(list), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(line));
    EXPECT_EQ(std::wstring(line), L"x?@y");
    HMENU bar = GetMenu(hwndOf(form));
    wchar_t item[64] = {};
    GetMenuStringW(bar, 0, item, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(item), L"ｵﾌﾟｼｮﾝ(&O)");
    GetMenuStringW(GetSubMenu(bar, 0), 0, item, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(item), L"ﾗﾝﾁｬｰ設定(&L)...");

    form.setCaption("ｿｰﾄ");
    button.setCaption("終了");
    EXPECT_EQ(textOf(hwndOf(form)), L"ｿｰﾄ");
    EXPECT_EQ(textOf(hwndOf(button)), L"終了");
}

// Typing goes into the widget in CP932, within its byte limit; a character
// CP932 cannot hold is not taken, and the box shows the widget's text again.
TEST_F(Win32UiOnDisplay, EditTakesWhatCp932Holds) {
    TestForm form;
    Edit edit(form, "Edit1", 8, 8, 200, 20, 0, 6);
    createWindow(form);
    HWND box = hwndOf(edit);
    type(box, L'表');
    EXPECT_EQ(edit.text(), "表");
    type(box, L'\u00E9');  // é
    EXPECT_EQ(edit.text(), "表");
    EXPECT_EQ(textOf(box), L"表");
    DWORD caret = 0;
    SendMessageW(box, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    EXPECT_EQ(caret, 1u);
    for (wchar_t c : std::wstring(L"abcde")) type(box, c);
    EXPECT_EQ(edit.text(), "表abcd");
    EXPECT_EQ(textOf(box), L"表abcd");

    edit.setText("ｶﾅ表");
    EXPECT_EQ(textOf(box), L"ｶﾅ表");
    EXPECT_EQ(edit.text(), "ｶﾅ表");
}

// A character reaches the keyboard routing as a whole UTF-16 unit: one
// whose low byte is an accelerator's letter presses nothing.
TEST_F(Win32UiOnDisplay, OnlyAsciiCharactersPressAccelerators) {
    TestForm form;
    int pressed = 0;
    Button menuButton(form, "btnMenu", 8, 8, 80, 24, 0, "&M");
    menuButton.OnClick = [&] { ++pressed; };
    Button other(form, "btnOther", 8, 40, 80, 24, 1, "Other");
    createWindow(form);
    form.focus(&other);
    MSG message{hwndOf(other), WM_CHAR, 0x014D, 1, 0, {}};  // ō, U+014D
    win32ui::routeKeyMessage(message);
    EXPECT_EQ(pressed, 0);
    message.wParam = L'm';
    win32ui::routeKeyMessage(message);
    EXPECT_EQ(pressed, 1);
}
