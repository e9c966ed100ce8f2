// Implements: the common part of every control peer (enabled, visible,
// focus, native text), the subclass that reports native focus moves, and
// the factory that picks a peer by control kind.
#include "platform/win32ui/Controls.h"

#include "platform/cp932.h"
#include "platform/win32ui/Dpi.h"
#include "platform/win32ui/FormWindow.h"
#include "platform/windowing.h"

namespace platform::win32ui {

ControlPeer::ControlPeer(Control& control, HWND hwnd) : control_(control), hwnd_(hwnd) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    nativeProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlPeer::subclassProc)));
}

ControlPeer::~ControlPeer() {
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(nativeProc_));
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

void ControlPeer::changed() {
    // The form's window, and with it this one, may be gone before the
    // control: a form's own members outlive the peer, a derived form's not.
    if (!hwnd_) return;
    refresh();
    if (IsWindowEnabled(hwnd_) != static_cast<BOOL>(control_.enabled())) EnableWindow(hwnd_, control_.enabled());
    bool shown = (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != control_.visible()) ShowWindow(hwnd_, control_.visible() ? SW_SHOWNA : SW_HIDE);
    // The native focus follows only in the active window; a window that
    // becomes active gives it to its focused control then (WM_ACTIVATE).
    HWND top = GetParent(hwnd_);
    if (control_.focused() && GetFocus() != hwnd_ && GetActiveWindow() == top && IsWindowVisible(hwnd_))
        SetFocus(hwnd_);
}

void ControlPeer::rescale(int dpi, HFONT font) {
    if (!hwnd_) return;
    // Edges, not sizes, are scaled: controls that meet at 96 dpi still meet.
    int left = scaled(control_.left(), dpi), top = scaled(control_.top(), dpi);
    int right = scaled(control_.left() + control_.width(), dpi);
    int bottom = scaled(control_.top() + control_.height(), dpi);
    SetWindowPos(hwnd_, nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ControlPeer::setNativeText(const std::string& text) {
    std::wstring shown = toWideDisplay(text);
    if (nativeText() != shown) SetWindowTextW(hwnd_, shown.c_str());
}

std::wstring ControlPeer::nativeText() const {
    int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

LRESULT CALLBACK ControlPeer::subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ControlPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_SETFOCUS) {
        // A click or the system moved the focus: the form follows.
        Control& control = self->control_;
        if (!control.focused()) dispatch([&] { control.form().focus(&control); });
    } else if (message == WM_NCDESTROY) {
        WNDPROC native = self->nativeProc_;
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(native));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return CallWindowProcW(native, hwnd, message, wParam, lParam);
    }
    return CallWindowProcW(self->nativeProc_, hwnd, message, wParam, lParam);
}

ControlPeer* controlPeerOf(HWND hwnd) {
    if (!hwnd || !(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) return nullptr;
    // Only our form windows have children whose user data is a peer.
    if (!formPeerOf(GetParent(hwnd))) return nullptr;
    return reinterpret_cast<ControlPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

HWND createChild(Control& control, HWND parent, const wchar_t* windowClass, DWORD style, DWORD exStyle, HFONT font,
                 int id) {
    if (control.visible()) style |= WS_VISIBLE;
    if (!control.enabled()) style |= WS_DISABLED;
    if (control.tabOrder() >= 0) style |= WS_TABSTOP;
    HWND hwnd =
        CreateWindowExW(exStyle, windowClass, L"", WS_CHILD | style, control.left(), control.top(), control.width(),
                        control.height(), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

std::unique_ptr<ControlPeer> createControlPeer(Control& control, HWND parent, HFONT font, int id) {
    switch (control.kind()) {
    case ControlKind::Label: return createLabelPeer(static_cast<Label&>(control), parent, font, id);
    case ControlKind::Button:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox: return createButtonPeer(control, parent, font, id);
    case ControlKind::Edit: return createEditPeer(static_cast<Edit&>(control), parent, font, id);
    case ControlKind::ListBox: return createListBoxPeer(static_cast<ListBox&>(control), parent, font, id);
    }
    return nullptr;
}

}  // namespace platform::win32ui
