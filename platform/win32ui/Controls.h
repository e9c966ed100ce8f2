// Native peers of controls: one child window per control, created by the
// factory of its kind (LabelPeer.cpp, ButtonPeer.cpp, EditPeer.cpp,
// ListBoxPeer.cpp). The common part keeps enabled, visible and focus in
// step and notices when the native focus moves.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/widgets.h"

namespace platform::win32ui {

class ControlPeer : public Peer {
public:
    ControlPeer(Control& control, HWND hwnd);
    ~ControlPeer() override;
    ControlPeer(const ControlPeer&) = delete;
    ControlPeer& operator=(const ControlPeer&) = delete;

    void changed() override;
    Control& control() const { return control_; }
    HWND hwnd() const { return hwnd_; }

    // A WM_COMMAND notification of the control (BN_CLICKED, EN_CHANGE ...).
    virtual void command(int) {}
    // WM_DRAWITEM of an owner-drawn control.
    virtual void draw(const DRAWITEMSTRUCT&) {}
    // Places the window at the control's bounds scaled to the DPI, in the
    // form's font for that DPI.
    virtual void rescale(int dpi, HFONT font);

protected:
    // The state of the control's own kind (text, lines, check).
    virtual void refresh() = 0;
    // Shows a CP932 text (what CP932 cannot map as "?") when the native
    // text differs from it.
    void setNativeText(const std::string& text);
    std::wstring nativeText() const;

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    Control& control_;
    HWND hwnd_;
    WNDPROC nativeProc_;
};

// The peer of a child window of ours, or nullptr.
ControlPeer* controlPeerOf(HWND hwnd);

// Creates a child window of the class and style at the control's bounds.
HWND createChild(Control& control, HWND parent, const wchar_t* windowClass, DWORD style, DWORD exStyle, HFONT font,
                 int id);

// One factory per control kind.
std::unique_ptr<ControlPeer> createLabelPeer(Label& label, HWND parent, HFONT font, int id);
std::unique_ptr<ControlPeer> createButtonPeer(Control& button, HWND parent, HFONT font, int id);
std::unique_ptr<ControlPeer> createEditPeer(Edit& edit, HWND parent, HFONT font, int id);
std::unique_ptr<ControlPeer> createListBoxPeer(ListBox& list, HWND parent, HFONT font, int id);

std::unique_ptr<ControlPeer> createControlPeer(Control& control, HWND parent, HFONT font, int id);

}  // namespace platform::win32ui
