// Implements: the edit box peer (EDIT with EM_LIMITTEXT). Typing is native,
// so that the input method works; every change is taken into the widget
// in CP932 and cut to its byte limit there (the native limit counts UTF-16
// units, never fewer than the bytes). A change CP932 cannot hold is not
// taken: the box shows the widget's text again, as the Linux backend does.
#include <optional>

#include "platform/cp932.h"
#include "platform/win32ui/Controls.h"

namespace platform::win32ui {

namespace {

class EditPeer : public ControlPeer {
public:
    EditPeer(Edit& edit, HWND hwnd) : ControlPeer(edit, hwnd), edit_(edit) {
        if (edit.maxLength() > 0) SendMessageW(hwnd, EM_LIMITTEXT, edit.maxLength(), 0);
    }

    void command(int code) override {
        if (code != EN_CHANGE || updating_) return;
        const std::wstring typed = nativeText();
        std::optional<std::string> cp932 = fromWide(typed);
        if (!cp932) {
            refuse(typed.size());
            return;
        }
        edit_.setText(edit_.limited(*cp932));
    }

protected:
    void refresh() override {
        if (nativeText() == toWideDisplay(edit_.text())) return;
        show();
        // A cut text leaves the caret at its end, where the typing was.
        SendMessageW(hwnd(), EM_SETSEL, 0x7FFF, 0x7FFF);
    }

private:
    void show() {
        updating_ = true;
        SetWindowTextW(hwnd(), toWideDisplay(edit_.text()).c_str());
        updating_ = false;
    }

    // Back to the widget's text, the caret where it was before the change.
    void refuse(std::size_t typedLength) {
        DWORD caret = 0;
        SendMessageW(hwnd(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        show();
        const std::size_t shownLength = static_cast<std::size_t>(GetWindowTextLengthW(hwnd()));
        const std::size_t added = typedLength > shownLength ? typedLength - shownLength : 0;
        const WPARAM at = caret > added ? caret - added : 0;
        SendMessageW(hwnd(), EM_SETSEL, at, static_cast<LPARAM>(at));
    }

    Edit& edit_;
    bool updating_ = false;
};

}  // namespace

std::unique_ptr<ControlPeer> createEditPeer(Edit& edit, HWND parent, HFONT font, int id) {
    HWND hwnd = createChild(edit, parent, L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, font, id);
    return std::make_unique<EditPeer>(edit, hwnd);
}

}  // namespace platform::win32ui
