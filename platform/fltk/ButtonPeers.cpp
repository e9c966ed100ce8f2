// Implements: the native widgets of a label (aligned, accelerator
// underlined), a push button, a radio button and a check box (each press
// is the control's click; the check state is shown).
#include "platform/fltk/ButtonPeers.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Round_Button.H>

#include <memory>

#include "platform/input.h"

namespace platform::fltk {

namespace {

// Windows labels underline their "&" accelerator as buttons do, and start
// their text at their left edge: FLTK's inset of 3 pixels a side cut the
// end of a caption that fills its label.
struct LabelBox : Fl_Box {
    LabelBox(int x, int y, int w, int h) : Fl_Box(x, y, w, h) { set_flag(SHORTCUT_LABEL); }
    void draw() override {
        draw_box();
        draw_label(x(), y(), w(), h(), align());
    }
};

class CheckPeer : public ControlPeer {
public:
    CheckPeer(Control& control, Fl_Button* widget) : ControlPeer(control, widget), button_(widget) {}

protected:
    void refresh() override {
        // While the mouse holds the button, FLTK shows the state the release
        // will give and clicks only if it still differs then: putting the
        // old state back now (the focus moves on the press) would lose the
        // click. The click itself refreshes after the release.
        if (Fl::pushed() == button_) return;
        const bool checked = control().kind() == ControlKind::CheckBox ? static_cast<CheckBox&>(control()).checked()
                                                                       : static_cast<RadioButton&>(control()).checked();
        button_->value(checked);
    }

private:
    Fl_Button* button_;
};

void clickOnPress(Fl_Button* button, Control& control) {
    button->callback([](Fl_Widget*, void* data) { clickControl(*static_cast<Control*>(data)); }, &control);
}

}  // namespace

Fl_Widget* createLabelWidget(Label& label, int x, int y, int w, int h) {
    auto* widget = new LabelBox(x, y, w, h);
    widget->align(FL_ALIGN_INSIDE | FL_ALIGN_CLIP | (label.centred() ? FL_ALIGN_TOP : FL_ALIGN_TOP_LEFT));
    label.peer = std::make_unique<ControlPeer>(label, widget);
    return widget;
}

Fl_Widget* createButtonWidget(Button& button, int x, int y, int w, int h) {
    auto* widget = new Fl_Button(x, y, w, h);
    clickOnPress(widget, button);
    button.peer = std::make_unique<ControlPeer>(button, widget);
    return widget;
}

Fl_Widget* createCheckWidget(Control& control, int x, int y, int w, int h) {
    Fl_Button* widget = control.kind() == ControlKind::CheckBox
                            ? static_cast<Fl_Button*>(new Fl_Check_Button(x, y, w, h))
                            : new Fl_Round_Button(x, y, w, h);
    clickOnPress(widget, control);
    control.peer = std::make_unique<CheckPeer>(control, widget);
    return widget;
}

}  // namespace platform::fltk
