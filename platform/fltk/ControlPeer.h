// The native widget of a control: the state every kind shares, and the one
// place that picks the widget for a control's kind.
#pragma once

#include <FL/Fl_Widget.H>

#include "platform/widgets.h"

namespace platform::fltk {

class ControlPeer : public Peer {
public:
    ControlPeer(Control& control, Fl_Widget* widget) : control_(control), widget_(widget) {}
    // What the kind shows of the control, then caption, enabled, visible
    // and focus.
    void changed() final;

protected:
    virtual void refresh() {}
    Control& control() const { return control_; }

private:
    Control& control_;
    Fl_Widget* widget_;
};

// Creates the control's widget in the current group, at its place moved
// down by yOffset (both in defined units, made at the display's scale) in
// the font of fontSize pixels, and attaches its peer.
Fl_Widget* createControlWidget(Control& control, int yOffset, int fontSize);

}  // namespace platform::fltk
