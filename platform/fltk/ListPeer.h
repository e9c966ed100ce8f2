// The widget of a list box.
#pragma once

#include "platform/fltk/ControlPeer.h"

namespace platform::fltk {

Fl_Widget* createListWidget(ListBox& list, int x, int y, int w, int h, int fontSize);

}  // namespace platform::fltk
