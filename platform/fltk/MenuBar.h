// The menu bar of a form, built from the form's menus.
#pragma once

#include <FL/Fl_Menu_Bar.H>

#include <deque>
#include <string>
#include <vector>

#include "platform/widgets.h"

namespace platform::fltk {

// In defined units.
constexpr int kMenuBarHeight = 22;

class MenuBar {
public:
    // Creates the bar in the current group (width and font size in pixels)
    // and attaches a peer to every menu item, which rebuilds the bar when
    // the item changes.
    MenuBar(MainMenu& menu, int width, int fontSize);
    // Detaches the items' peers; the bar itself goes with its window.
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;
    void rebuild();

private:
    MainMenu& menu_;
    Fl_Menu_Bar* bar_;
    std::vector<Fl_Menu_Item> items_;
    std::deque<std::string> labels_;
};

}  // namespace platform::fltk
