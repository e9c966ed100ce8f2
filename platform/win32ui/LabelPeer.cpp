// Implements: the label peer, an owner-drawn STATIC. A static control of
// the centred style wraps long lines; a label here breaks only at its
// embedded line breaks (LF, CR, or a pair of them), centres or left-aligns
// each line, clips what does not fit and underlines its "&" accelerator.
#include <string_view>
#include <vector>

#include "platform/cp932.h"
#include "platform/win32ui/Controls.h"

namespace platform::win32ui {

namespace {

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0, i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c != '\n' && c != '\r') {
            ++i;
            continue;
        }
        lines.push_back(text.substr(start, i - start));
        // LF CR and CR LF are one break each.
        char pair = c == '\n' ? '\r' : '\n';
        i += (i + 1 < text.size() && text[i + 1] == pair) ? 2 : 1;
        start = i;
    }
    lines.push_back(text.substr(start));
    return lines;
}

class LabelPeer : public ControlPeer {
public:
    LabelPeer(Label& label, HWND hwnd) : ControlPeer(label, hwnd), label_(label) {}

    void draw(const DRAWITEMSTRUCT& item) override {
        HDC dc = item.hDC;
        RECT area = item.rcItem;
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(label_.enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        UINT format = DT_SINGLELINE | DT_TOP | DT_EXPANDTABS | (label_.centred() ? DT_CENTER : DT_LEFT);
        RECT line = area;
        for (std::string_view text : linesOf(label_.caption())) {
            line.bottom = line.top + metrics.tmHeight;
            std::wstring shown = toWideDisplay(text);
            DrawTextW(dc, shown.data(), static_cast<int>(shown.size()), &line, format);
            line.top = line.bottom;
            if (line.top >= area.bottom) break;
        }
        SelectObject(dc, oldFont);
    }

protected:
    void refresh() override {
        setNativeText(label_.caption());
        InvalidateRect(hwnd(), nullptr, TRUE);
    }

private:
    Label& label_;
};

}  // namespace

std::unique_ptr<ControlPeer> createLabelPeer(Label& label, HWND parent, HFONT font, int id) {
    HWND hwnd = createChild(label, parent, L"STATIC", SS_OWNERDRAW, 0, font, id);
    return std::make_unique<LabelPeer>(label, hwnd);
}

}  // namespace platform::win32ui
