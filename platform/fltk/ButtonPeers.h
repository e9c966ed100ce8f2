// The widgets of labels, buttons, radio buttons and check boxes.
#pragma once

#include "platform/fltk/ControlPeer.h"

namespace platform::fltk {

Fl_Widget* createLabelWidget(Label& label, int x, int y, int w, int h);
Fl_Widget* createButtonWidget(Button& button, int x, int y, int w, int h);
// A radio button or a check box.
Fl_Widget* createCheckWidget(Control& control, int x, int y, int w, int h);

}  // namespace platform::fltk
