// TARVO.EXE: the launcher on Windows, a GUI program on the Win32 backend
// and the Windows host services.
#include <windows.h>

#include "app/Program.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32ui/Win32Backend.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    platform::win32::Win32Host host;
    platform::setHost(&host);
    platform::win32ui::Win32Backend backend(instance, showCommand);
    platform::setWindowing(&backend);
    int rc = app::programMain();
    platform::setWindowing(nullptr);
    platform::setHost(nullptr);
    return rc;
}
