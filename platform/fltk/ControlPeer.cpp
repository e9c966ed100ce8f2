// Implements: the common state of a control's widget (caption, enabled,
// visible, focus) and the choice of widget per control kind.
#include "platform/fltk/ControlPeer.h"

#include <FL/Fl.H>

#include "platform/fltk/ButtonPeers.h"
#include "platform/fltk/DisplayText.h"
#include "platform/fltk/EditPeer.h"
#include "platform/fltk/ListPeer.h"
#include "platform/fltk/XDisplay.h"

namespace platform::fltk {

namespace {

// Windows draws "&&" as "&" and "&x" as underlined x; FLTK does the same
// with its shortcut labels. A list's or edit box's caption is no label.
void applyState(Fl_Widget* widget, const Control& c) {
    if (c.kind() != ControlKind::ListBox && c.kind() != ControlKind::Edit)
        widget->copy_label(displayText(c.caption()).c_str());
    if (c.enabled()) widget->activate();
    else widget->deactivate();
    if (c.visible()) widget->show();
    else widget->hide();
}

}  // namespace

void ControlPeer::changed() {
    refresh();
    applyState(widget_, control_);
    if (control_.focused() && Fl::focus() != widget_ && widget_->visible_r()) widget_->take_focus();
    widget_->redraw();
}

Fl_Widget* createControlWidget(Control& c, int yOffset, int fontSize) {
    // Each edge scaled on its own, so that controls that meet still meet.
    const int top = c.top() + yOffset;
    int x = px(c.left()), y = px(top), w = px(c.left() + c.width()) - x, h = px(top + c.height()) - y;
    Fl_Widget* widget = nullptr;
    switch (c.kind()) {
    case ControlKind::Label: widget = createLabelWidget(static_cast<Label&>(c), x, y, w, h); break;
    case ControlKind::Button: widget = createButtonWidget(static_cast<Button&>(c), x, y, w, h); break;
    case ControlKind::RadioButton:
    case ControlKind::CheckBox: widget = createCheckWidget(c, x, y, w, h); break;
    case ControlKind::Edit: widget = createEditWidget(static_cast<Edit&>(c), x, y, w, h, fontSize); break;
    case ControlKind::ListBox: widget = createListWidget(static_cast<ListBox&>(c), x, y, w, h, fontSize); break;
    }
    widget->labelsize(fontSize);
    return widget;
}

}  // namespace platform::fltk
