// Implements: the DPI of the screen and of a window (Dpi.h).
#include "platform/win32ui/Dpi.h"

#include "platform/win32ui/SystemLibrary.h"

namespace platform::win32ui {

int systemDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : kDefinedDpi;
}

int windowDpi(HWND hwnd) {
    // Windows 10 1607 and later; older systems scale every window alike.
    static auto forWindow = systemFunction<UINT WINAPI(HWND)>(L"user32.dll", "GetDpiForWindow");
    int dpi = forWindow && hwnd ? static_cast<int>(forWindow(hwnd)) : 0;
    return dpi > 0 ? dpi : systemDpi();
}

}  // namespace platform::win32ui
