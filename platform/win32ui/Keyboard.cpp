// Implements: keyboard routing (Keyboard.h). Every key goes first to the
// focused control's OnKeyDown (or the form's), through the shared input
// rules; a key a handler swallows goes no further. Then the dialog keys:
// Tab moves the focus in tab order, Enter presses a focused button, Enter
// and Esc never reach a native control on their own, and a character that
// the focused control has no use for (or any with Alt) presses the control
// whose "&" accelerator it is. Everything else is the native control's:
// typing in edit boxes, a list box's arrows and type-to-select, Space on
// buttons, Alt+letter opening a menu.
#include "platform/win32ui/Keyboard.h"

#include <string>

#include "platform/input.h"
#include "platform/win32ui/FormWindow.h"
#include "platform/windowing.h"

namespace platform::win32ui {

namespace {

ShiftState shiftState(const MSG& message) {
    return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, (HIWORD(message.lParam) & KF_ALTDOWN) != 0};
}

bool keyDown(FormPeer& peer, const MSG& message) {
    Form& form = peer.form();
    ShiftState shift = shiftState(message);
    int key = static_cast<int>(message.wParam);
    if (!runKeyDown(form, key, shift)) return true;
    if (key == vk::Tab && !shift.ctrl && !shift.alt) {
        controlBehaviour(form, key, shift, "");
        return true;
    }
    if ((key == vk::Return || key == vk::Escape) && !shift.alt) {
        controlBehaviour(form, key, shift, "");
        return true;
    }
    return false;
}

bool character(FormPeer& peer, const MSG& message) {
    Form& form = peer.form();
    // Accelerators are ASCII characters; the rest is typing. The whole UTF-16
    // unit counts: "ō" (U+014D) is no "M".
    if (message.wParam < 0x20 || message.wParam >= 0x80) return false;
    const auto byte = static_cast<char>(message.wParam);
    ShiftState shift = shiftState(message);
    shift.alt = message.message == WM_SYSCHAR;
    Control* focused = form.focusedControl();
    bool typesNatively = focused && (focused->kind() == ControlKind::Edit || focused->kind() == ControlKind::ListBox);
    if (typesNatively && !shift.alt) return false;
    // Without a control for the character, Alt goes on to open a menu.
    return controlBehaviour(form, 0, shift, std::string(1, byte));
}

}  // namespace

bool routeKeyMessage(const MSG& message) {
    UINT m = message.message;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_CHAR && m != WM_SYSCHAR) return false;
    FormPeer* peer = formPeerOf(message.hwnd);
    if (!peer) return false;
    bool handled = false;
    dispatch([&] {
        peer->syncFocusFromNative();
        handled = (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) ? keyDown(*peer, message) : character(*peer, message);
    });
    return handled;
}

}  // namespace platform::win32ui
