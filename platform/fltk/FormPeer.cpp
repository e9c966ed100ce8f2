// Implements: the peer of a form: its window (the defined client size, a
// fixed size unless sizeable, the caption, the close box left to the
// program), a widget per control, the menu bar, and the focus as the
// native side moved it.
#include "platform/fltk/FormPeer.h"

#include <FL/Fl.H>
#include <FL/Fl_Input_.H>

#include "platform/fltk/ControlPeer.h"
#include "platform/fltk/DisplayText.h"
#include "platform/fltk/FltkBackend.h"
#include "platform/fltk/FormWindow.h"
#include "platform/fltk/MenuBar.h"
#include "platform/fltk/XDisplay.h"

namespace platform::fltk {

FormPeer* peerOfWindow(Fl_Window* window) {
    auto* fw = dynamic_cast<FormWindow*>(window);
    return fw ? &fw->peer() : nullptr;
}

namespace {

// A sizeable form is defined by its outer size on Windows, where the frame
// of a sizeable window (two 4-pixel sizing borders and a 19-pixel caption
// in the classic metrics) lies inside it; every other form by its client
// area.
constexpr int kSizeableFrameWidth = 2 * 4;
constexpr int kSizeableFrameHeight = 2 * 4 + 19;

bool sizeable(const Form& form) { return form.border() == BorderStyle::Sizeable; }

}  // namespace

int windowWidth(const Form& form) { return form.clientWidth() - (sizeable(form) ? kSizeableFrameWidth : 0); }

int windowHeight(const Form& form) {
    return form.clientHeight() - (sizeable(form) ? kSizeableFrameHeight : 0) + (form.menu() ? kMenuBarHeight : 0);
}

FormPeer::FormPeer(Form& form) : form_(form) {
    // Everything is made at the display's scale; the form keeps defined units.
    int fontSize = px(fontSizeFor(form.fontHeight()));
    int menuHeight = form.menu() ? kMenuBarHeight : 0;
    window_ = new FormWindow(*this, px(windowWidth(form)), px(windowHeight(form)), nullptr);
    window_->copy_label(displayText(form.caption(), false).c_str());
    window_->xclass("Tarvo");
    if (form.border() == BorderStyle::Sizeable) window_->size_range(window_->w() / 2, window_->h() / 2);
    else window_->size_range(window_->w(), window_->h(), window_->w(), window_->h());
    window_->callback([](Fl_Widget* w, void*) {
        // The close box (or the window manager's close): the program decides.
        if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
        static_cast<FormWindow*>(w)->peer().form().close();
    });
    window_->begin();
    if (form.menu()) menuBar_ = std::make_unique<MenuBar>(*form.menu(), px(windowWidth(form)), fontSize);
    for (Control* c : form.controls()) widgets_.emplace_back(createControlWidget(*c, menuHeight, fontSize), c);
    window_->end();
    for (Control* c : form.controls()) c->peer->changed();
    changed();
}

FormPeer::~FormPeer() {
    for (auto& [widget, control] : widgets_) control->peer.reset();
    menuBar_.reset();
    delete window_;
}

void FormPeer::changed() {
    window_->copy_label(displayText(form_.caption(), false).c_str());
    window_->position(px(form_.left()), px(form_.top()));
}

Control* FormPeer::controlOf(const Fl_Widget* widget) const {
    for (const auto& [w, control] : widgets_) {
        if (w == widget) return control;
    }
    return nullptr;
}

bool FormPeer::takesText() const {
    for (const auto& [widget, control] : widgets_) {
        if (dynamic_cast<const Fl_Input_*>(widget)) return true;
    }
    return false;
}

void FormPeer::syncFocusFromNative() {
    for (Fl_Widget* w = Fl::focus(); w; w = w->parent()) {
        if (Control* c = controlOf(w)) {
            if (!c->focused()) form_.focus(c);
            return;
        }
    }
}

}  // namespace platform::fltk
