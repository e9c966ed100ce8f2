// Implements: the edit box peer (EDIT with EM_LIMITTEXT). Typing is native,
// so that the input method works; every change is taken into the widget
// and cut to its byte limit there, since the native limit may count
// characters rather than bytes.
#include "platform/win32ui/Controls.h"

namespace platform::win32ui {

namespace {

class EditPeer : public ControlPeer {
public:
    EditPeer(Edit& edit, HWND hwnd) : ControlPeer(edit, hwnd), edit_(edit) {
        if (edit.maxLength() > 0) SendMessageA(hwnd, EM_LIMITTEXT, edit.maxLength(), 0);
    }

    void command(int code) override {
        if (code != EN_CHANGE || updating_) return;
        edit_.setText(edit_.limited(nativeText()));
    }

protected:
    void refresh() override {
        if (nativeText() == edit_.text()) return;
        updating_ = true;
        SetWindowTextA(hwnd(), edit_.text().c_str());
        updating_ = false;
        // A cut text leaves the caret at its end, where the typing was.
        // (Positions past the end mean the end, in bytes or characters.)
        SendMessageA(hwnd(), EM_SETSEL, 0x7FFF, 0x7FFF);
    }

private:
    Edit& edit_;
    bool updating_ = false;
};

}  // namespace

std::unique_ptr<ControlPeer> createEditPeer(Edit& edit, HWND parent, HFONT font, int id) {
    HWND hwnd = createChild(edit, parent, "EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, font, id);
    return std::make_unique<EditPeer>(edit, hwnd);
}

}  // namespace platform::win32ui
