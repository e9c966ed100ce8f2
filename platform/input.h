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

// A click on a button, radio button or check box, as the mouse gives it.
void clickControl(Control& control);

// A user's selection of a list line (mouse click): OnClick follows.
void selectLine(ListBox& list, int index);

// The control whose "&" accelerator is ch, usable, on the form; or nullptr.
Control* findAccelerator(Form& form, char ch);

}  // namespace platform
