// The native window of a form: a top-level window of the form's own window
// class (TForm1 ..., so that other programs find it by class), with the
// form's border style, its controls as child windows and its menu bar.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/widgets.h"
#include "platform/windowing.h"

namespace platform::win32ui {

class MenuBar;
class Win32Backend;

// Window styles of a form's border, and its outer size.
struct FrameStyle {
    DWORD style;
    DWORD exStyle;
};
FrameStyle frameStyleOf(const Form& form);
// Outer size of the form's window on a display of that DPI: the scaled
// client size plus the frame, except for a sizeable form, whose definition
// gives the outer size itself.
SIZE outerSizeOf(const Form& form, int dpi);

class FormPeer : public Peer {
public:
    FormPeer(Form& form, Win32Backend& backend, HINSTANCE instance, HWND owner);
    ~FormPeer() override;
    FormPeer(const FormPeer&) = delete;
    FormPeer& operator=(const FormPeer&) = delete;

    void changed() override;
    HWND hwnd() const { return hwnd_; }
    Form& form() const { return form_; }
    // The DPI the window and its controls are scaled to.
    int dpi() const { return dpi_; }
    // Scales the window (to the suggested rectangle, if any, as
    // WM_DPICHANGED hands one over), its controls and their font to the DPI.
    void applyDpi(int dpi, const RECT* suggested);
    // Takes the native focus into the form's focused control.
    void syncFocusFromNative();
    // Gives the native focus to the form's focused control.
    void restoreFocus();

    bool acceptsDrops = false;

    // The window procedure of every form window class.
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void dropped(HDROP drop);

    Form& form_;
    Win32Backend& backend_;
    HWND hwnd_ = nullptr;
    int dpi_;
    std::unique_ptr<MenuBar> menuBar_;
};

// The form peer of a form window or of any of its controls; nullptr for a
// window that is not ours.
FormPeer* formPeerOf(HWND hwnd);

// A drop as the shell hands it over (DragQueryFileW), its paths in CP932;
// released once, by the program or when destroyed.
class NativeDrop : public DroppedFiles {
public:
    explicit NativeDrop(HDROP drop) : drop_(drop) {}
    ~NativeDrop() override;
    NativeDrop(const NativeDrop&) = delete;
    NativeDrop& operator=(const NativeDrop&) = delete;
    int count() const override;
    // "" for a path CP932 cannot hold, so that the program refuses it.
    std::string query(int index, std::size_t bufferSize) const override;
    void finish() override;

private:
    HDROP drop_;
};

}  // namespace platform::win32ui
