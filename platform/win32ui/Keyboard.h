// Keys as a Windows dialog takes them, before the native controls see them.
#pragma once

#include <windows.h>

namespace platform::win32ui {

// Looks at a queued key message for one of our windows; true when it was
// handled (or swallowed) and must not be translated or dispatched.
bool routeKeyMessage(const MSG& message);

}  // namespace platform::win32ui
