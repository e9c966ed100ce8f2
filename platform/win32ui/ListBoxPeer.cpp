// Implements: the list box peer (LISTBOX, LBS_SORT for a sorted list). The
// native control sorts and does type-to-select itself; the peer keeps a map
// from native positions to the widget's lines, so that the widget's
// selection always names the line the user sees selected.
#include <algorithm>
#include <vector>

#include "platform/cp932.h"
#include "platform/input.h"
#include "platform/win32ui/Controls.h"
#include "platform/win32ui/Dpi.h"
#include "platform/windowing.h"

namespace platform::win32ui {

namespace {

class ListBoxPeer : public ControlPeer {
public:
    ListBoxPeer(ListBox& list, HWND hwnd) : ControlPeer(list, hwnd), list_(list) {}

    void rescale(int dpi, HFONT font) override {
        // The new font sets the line height; a defined one wins.
        ControlPeer::rescale(dpi, font);
        if (list_.itemHeight() > 0) SendMessageW(hwnd(), LB_SETITEMHEIGHT, 0, scaled(list_.itemHeight(), dpi));
    }

    void command(int code) override {
        if (code == LBN_SELCHANGE) {
            int index = widgetIndex(static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0)));
            if (index >= 0 && index != list_.itemIndex()) selectLine(list_, index);
        } else if (code == LBN_DBLCLK) {
            if (list_.OnDblClick) dispatch(list_.OnDblClick);
        }
    }

protected:
    void refresh() override {
        const std::vector<std::string>& lines = list_.lines();
        if (lines != shown_) {
            bool appended = !list_.sorted() && lines.size() > shown_.size() &&
                            std::equal(shown_.begin(), shown_.end(), lines.begin());
            SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
            if (!appended) {
                SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
                shown_.clear();
                order_.clear();
            }
            for (std::size_t i = shown_.size(); i < lines.size(); ++i) {
                std::wstring shown = toWideDisplay(lines[i]);
                auto at = SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
                if (at < 0) at = static_cast<LRESULT>(order_.size());
                order_.insert(order_.begin() + std::min<std::ptrdiff_t>(at, order_.size()), static_cast<int>(i));
            }
            shown_ = lines;
            SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
            InvalidateRect(hwnd(), nullptr, TRUE);
        }
        int position = nativeIndex(list_.itemIndex());
        if (SendMessageW(hwnd(), LB_GETCURSEL, 0, 0) != position) SendMessageW(hwnd(), LB_SETCURSEL, position, 0);
    }

private:
    int widgetIndex(int position) const {
        return position >= 0 && position < static_cast<int>(order_.size()) ? order_[position] : -1;
    }
    int nativeIndex(int index) const {
        auto it = std::find(order_.begin(), order_.end(), index);
        return index < 0 || it == order_.end() ? -1 : static_cast<int>(it - order_.begin());
    }

    ListBox& list_;
    std::vector<std::string> shown_;
    std::vector<int> order_;  // widget line of each native position
};

}  // namespace

std::unique_ptr<ControlPeer> createListBoxPeer(ListBox& list, HWND parent, HFONT font, int id) {
    DWORD style = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | (list.sorted() ? LBS_SORT : 0);
    HWND hwnd = createChild(list, parent, L"LISTBOX", style, WS_EX_CLIENTEDGE, font, id);
    return std::make_unique<ListBoxPeer>(list, hwnd);
}

}  // namespace platform::win32ui
