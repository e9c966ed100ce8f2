// Native peers: an FLTK window per form, an FLTK widget per control, and a
// menu bar built from the form's menus.
#pragma once

#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Widget.H>

#include <deque>
#include <string>
#include <vector>

#include "platform/widgets.h"

namespace platform::fltk {

constexpr int kMenuBarHeight = 22;

// CP932 to what FLTK shows: UTF-8, "@" kept literal, CR dropped so that a
// LF CR pair breaks one line.
std::string displayText(const std::string& cp932, bool keepAmpersands = true);

class FormWindow;

class FormPeer : public Peer {
public:
    explicit FormPeer(Form& form);
    ~FormPeer() override;
    void changed() override;
    void rebuildMenu();
    Fl_Double_Window* window() const;
    Form& form() const { return form_; }
    // The control whose widget is w, if any.
    Control* controlOf(const Fl_Widget* w) const;
    void syncFocusFromNative();

    bool acceptsDrops = false;

private:
    Form& form_;
    FormWindow* window_;
    Fl_Menu_Bar* menuBar_ = nullptr;
    std::vector<Fl_Menu_Item> menuItems_;
    std::deque<std::string> menuLabels_;
    std::vector<std::pair<Fl_Widget*, Control*>> widgets_;
};

// The form a native window shows, or nullptr.
FormPeer* peerOfWindow(Fl_Window* window);

// Routes keyboard events through the shared input rules (installed once).
void installEventRouting();

}  // namespace platform::fltk
