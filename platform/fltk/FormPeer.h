// The native peer of a form: its window, the widgets of its controls and
// its menu bar.
#pragma once

#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Widget.H>

#include <memory>
#include <utility>
#include <vector>

#include "platform/widgets.h"

namespace platform::fltk {

class FormWindow;
class MenuBar;

class FormPeer : public Peer {
public:
    explicit FormPeer(Form& form);
    ~FormPeer() override;
    void changed() override;
    FormWindow* window() const { return window_; }
    Form& form() const { return form_; }
    // The control that widget shows, if any.
    Control* controlOf(const Fl_Widget* widget) const;
    void syncFocusFromNative();
    // Whether a control of the form takes typed text.
    bool takesText() const;

    bool acceptsDrops = false;

private:
    Form& form_;
    FormWindow* window_;
    std::unique_ptr<MenuBar> menuBar_;
    std::vector<std::pair<Fl_Widget*, Control*>> widgets_;
};

// The form a native window shows, or nullptr.
FormPeer* peerOfWindow(Fl_Window* window);

// The size of a form's FLTK window: the client area and the menu bar (the
// window manager's frame lies outside it).
int windowWidth(const Form& form);
int windowHeight(const Form& form);

}  // namespace platform::fltk
