// The menu bar of a form: a native HMENU rebuilt from the form's menus
// whenever one of them changes (hidden commands are left out, disabled ones
// greyed; "&" marks each accelerator as Windows menus do).
#pragma once

#include <windows.h>

#include <vector>

#include "platform/widgets.h"

namespace platform::win32ui {

class MenuBar {
public:
    MenuBar(MainMenu& menu, HWND window);
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    void rebuild();
    // WM_COMMAND from the menu: runs the command's handler.
    void command(int id);

private:
    MainMenu& menu_;
    HWND window_;
    HMENU bar_ = nullptr;
    std::vector<MenuItem*> commands_;  // by id - kFirstId
};

}  // namespace platform::win32ui
