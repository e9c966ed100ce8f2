// Finding and activating top-level X11 windows by WM_CLASS.
#pragma once

#include <X11/Xlib.h>

#include <string>

#include "platform/windowing.h"

namespace platform::fltk {

// The first top-level window whose WM_CLASS class or instance name matches
// (the file-explorer class matches the common file managers); None if none.
Window findWindowByClass(Display* display, const std::string& windowClass);

// Makes the window the active one: _NET_ACTIVE_WINDOW for a window manager,
// raise and focus for a bare X server. Neither restored nor shown.
void activateWindow(Display* display, Window window);

}  // namespace platform::fltk
