// The system's dialogs: the common file-open dialog and the message boxes
// of the framework's error report and warning box.
#pragma once

#include <windows.h>

#include <string>

#include "platform/widgets.h"

namespace platform::win32ui {

// GetOpenFileNameW with the dialog's filter, index, folder, name and title;
// a chosen path CP932 cannot hold sets pathLost.
bool runFileOpenDialog(OpenDialog& dialog, HWND owner);
// An error icon and OK.
void showErrorBox(HWND owner, const std::string& caption, const std::string& text);
// A warning icon and one button with the given text.
void showWarningBox(HWND owner, const std::string& caption, const std::string& text, const std::string& button);

}  // namespace platform::win32ui
