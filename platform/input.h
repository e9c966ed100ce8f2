// User input as a Windows dialog delivers it, shared by the backends that
// draw their own controls: the focused control's OnKeyDown first, then the
// control's own behaviour (list selection, edit typing, button press,
// accelerators).
#pragma once

#include "platform/widgets.h"

namespace platform {

// A key press on the focused control (or the form when nothing has the focus).
// `typed` is the character the key types (CP932, one or two bytes), or "".
void pressKey(Form& form, int key, ShiftState shift, const std::string& typed);

// The two halves of pressKey, for a backend whose edit boxes type natively.
// runKeyDown calls the OnKeyDown handler; false when the key went no further
// (swallowed, or the handler closed the form or moved the focus).
bool runKeyDown(Form& form, int& key, ShiftState shift);
// The focused control's own behaviour for the key; false when it had none.
bool controlBehaviour(Form& form, int key, ShiftState shift, const std::string& typed);

// A click on a button, radio button or check box, as the mouse gives it.
void clickControl(Control& control);

// A user's selection of a list line (mouse click): OnClick follows.
void selectLine(ListBox& list, int index);

// The virtual-key code a US keyboard gives for a printable character; 0
// for one it has no key for.
int virtualKeyForChar(char c);

// The control whose "&" accelerator is ch, usable, on the form; or nullptr.
Control* findAccelerator(Form& form, char ch);

}  // namespace platform
