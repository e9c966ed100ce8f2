/* Stands in for the companion product's main window: a window of the class
 * "KestiMainWin" titled "Kesti stub", open until it is closed or killed. */
#include <windows.h>

static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)previous, (void)commandLine;
    WNDCLASSA wc = {0};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "KestiMainWin";
    RegisterClassA(&wc);
    HWND hwnd =
        CreateWindowA("KestiMainWin", "Kesti stub", WS_OVERLAPPEDWINDOW, 20, 20, 240, 120, NULL, NULL, instance, NULL);
    ShowWindow(hwnd, show);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
