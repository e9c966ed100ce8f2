// Implements: FLTK keys mapped to Windows virtual-key codes and routed
// through the shared input rules (the form's and control's key handlers,
// a dialog's keys, accelerators), keys of a modal window, Alt+letter for
// the top menus only; the focus taken over after a press.
#include "platform/fltk/KeyRouting.h"

#include <FL/Fl.H>

#include <string>

#include "platform/fltk/FormPeer.h"
#include "platform/input.h"
#include "platform/posix/convert.h"
#include "platform/text.h"

namespace platform::fltk {

namespace {

int virtualKeyOf(int flKey, const char* text) {
    switch (flKey) {
    case FL_Enter:
    case FL_KP_Enter: return vk::Return;
    case FL_Escape: return vk::Escape;
    case FL_BackSpace: return vk::Back;
    case FL_Tab: return vk::Tab;
    case FL_Up: return vk::Up;
    case FL_Down: return vk::Down;
    case FL_Left: return 37;
    case FL_Right: return 39;
    case FL_Home: return 36;
    case FL_End: return 35;
    case FL_Page_Up: return 33;
    case FL_Page_Down: return 34;
    case FL_Delete: return 46;
    case FL_Insert: return 45;
    case ' ': return vk::Space;
    default: break;
    }
    if (flKey > FL_F && flKey <= FL_F_Last) return 111 + (flKey - FL_F);
    if (flKey >= 'a' && flKey <= 'z') return flKey - 'a' + 'A';
    if (flKey >= '0' && flKey <= '9') return flKey;
    if (flKey > 0 && flKey < 0x80) return virtualKeyForChar(static_cast<char>(flKey));
    if (text && static_cast<unsigned char>(text[0]) >= 0x80) return 0xE5;  // from the input method
    return 0;
}

bool opensTopMenu(const Form& form, char ch) {
    if (!form.menu()) return false;
    char wanted = upperAscii(std::string(1, ch))[0];
    for (const auto& top : form.menu()->items()) {
        if (top->visible() && acceleratorOf(top->caption()) == wanted) return true;
    }
    return false;
}

int routeEvent(int event, Fl_Window* window) {
    // Keys reach the modal window whichever window the server gave them to.
    FormPeer* peer = peerOfWindow(event == FL_KEYBOARD && Fl::modal() ? Fl::modal() : window);
    // An open menu (a grab) takes the keys itself.
    if (!peer || event != FL_KEYBOARD || Fl::grab()) {
        int handled = Fl::handle_(event, window);
        if (peer && (event == FL_PUSH || event == FL_RELEASE)) peer->syncFocusFromNative();
        return handled;
    }
    Form& form = peer->form();
    int state = Fl::event_state();
    ShiftState shift{(state & FL_SHIFT) != 0, (state & FL_CTRL) != 0, (state & FL_ALT) != 0};
    std::string typed;
    if (Fl::event_length() > 0 && static_cast<unsigned char>(Fl::event_text()[0]) >= 0x20) {
        typed = posix::fromUtf8(Fl::event_text()).value_or("");
    }
    int key = virtualKeyOf(Fl::event_key(), Fl::event_text());
    if (key == 0 && typed.empty()) return Fl::handle_(event, window);
    peer->syncFocusFromNative();
    Control* focused = form.focusedControl();
    if (!runKeyDown(form, key, shift)) return 1;
    if (focused && focused->kind() == ControlKind::Edit && !shift.alt && key != vk::Tab && key != vk::Return &&
        key != vk::Escape) {
        return Fl::handle_(event, window);  // the edit box types natively
    }
    if (controlBehaviour(form, key, shift, typed)) return 1;
    if (key == vk::Escape || key == vk::Return) return 1;  // never closes a window on its own
    // Alt+letter opens a top menu whose accelerator it is, and nothing else
    // (FLTK would also run a command deep inside a menu).
    if (shift.alt && !typed.empty() && !opensTopMenu(form, typed[0])) return 1;
    int handled = Fl::handle_(event, window);
    peer->syncFocusFromNative();
    return handled;
}

}  // namespace

void installEventRouting() { Fl::event_dispatch(routeEvent); }

}  // namespace platform::fltk
