// Implements: the peers of push buttons, radio buttons and the check box
// (BUTTON of the plain, not automatic, styles: the check state is the
// widget's, so a click goes through the shared click rule and back).
#include "platform/input.h"
#include "platform/win32ui/Controls.h"

namespace platform::win32ui {

namespace {

class ButtonPeer : public ControlPeer {
public:
    using ControlPeer::ControlPeer;

    void command(int code) override {
        if (code == BN_CLICKED) clickControl(control());
    }

protected:
    void refresh() override {
        setNativeText(control().caption());
        bool checked = false;
        if (control().kind() == ControlKind::RadioButton) checked = static_cast<RadioButton&>(control()).checked();
        else if (control().kind() == ControlKind::CheckBox) checked = static_cast<CheckBox&>(control()).checked();
        else return;
        WPARAM state = checked ? BST_CHECKED : BST_UNCHECKED;
        if (static_cast<WPARAM>(SendMessageW(hwnd(), BM_GETCHECK, 0, 0)) != state)
            SendMessageW(hwnd(), BM_SETCHECK, state, 0);
    }
};

}  // namespace

std::unique_ptr<ControlPeer> createButtonPeer(Control& button, HWND parent, HFONT font, int id) {
    DWORD style = BS_PUSHBUTTON;
    if (button.kind() == ControlKind::RadioButton) style = BS_RADIOBUTTON;
    else if (button.kind() == ControlKind::CheckBox) style = BS_CHECKBOX;
    HWND hwnd = createChild(button, parent, L"BUTTON", style, 0, font, id);
    return std::make_unique<ButtonPeer>(button, hwnd);
}

}  // namespace platform::win32ui
