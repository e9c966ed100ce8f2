// The widget of an edit box.
#pragma once

#include "platform/fltk/ControlPeer.h"

namespace platform::fltk {

Fl_Widget* createEditWidget(Edit& edit, int x, int y, int w, int h, int fontSize);

}  // namespace platform::fltk
