// Implements: the menu bar (MenuBar.h) and the peers of its menu items.
#include "platform/win32ui/MenuBar.h"

#include "platform/cp932.h"
#include "platform/windowing.h"

namespace platform::win32ui {

namespace {

constexpr int kFirstId = 1000;

class MenuItemPeer : public Peer {
public:
    explicit MenuItemPeer(MenuBar& bar) : bar_(bar) {}
    void changed() override { bar_.rebuild(); }

private:
    MenuBar& bar_;
};

}  // namespace

MenuBar::MenuBar(MainMenu& menu, HWND window) : menu_(menu), window_(window) {
    for (const auto& top : menu_.items()) {
        top->peer = std::make_unique<MenuItemPeer>(*this);
        for (const auto& item : top->items()) item->peer = std::make_unique<MenuItemPeer>(*this);
    }
    rebuild();
}

MenuBar::~MenuBar() {
    for (const auto& top : menu_.items()) {
        top->peer.reset();
        for (const auto& item : top->items()) item->peer.reset();
    }
    if (IsWindow(window_)) SetMenu(window_, nullptr);
    if (bar_) DestroyMenu(bar_);
}

void MenuBar::rebuild() {
    HMENU bar = CreateMenu();
    commands_.clear();
    for (const auto& top : menu_.items()) {
        if (!top->visible()) continue;
        HMENU popup = CreatePopupMenu();
        for (const auto& item : top->items()) {
            if (!item->visible()) continue;
            UINT id = kFirstId + static_cast<UINT>(commands_.size());
            commands_.push_back(item.get());
            AppendMenuW(popup, MF_STRING | (item->enabled() ? MF_ENABLED : MF_GRAYED), id,
                        toWideDisplay(item->caption()).c_str());
        }
        AppendMenuW(bar, MF_POPUP | (top->enabled() ? MF_ENABLED : MF_GRAYED), reinterpret_cast<UINT_PTR>(popup),
                    toWideDisplay(top->caption()).c_str());
    }
    HMENU old = bar_;
    bar_ = bar;
    SetMenu(window_, bar_);
    if (old) DestroyMenu(old);
    DrawMenuBar(window_);
}

void MenuBar::command(int id) {
    std::size_t index = static_cast<std::size_t>(id - kFirstId);
    if (id < kFirstId || index >= commands_.size()) return;
    MenuItem* item = commands_[index];
    if (item->usable() && item->OnClick) dispatch(item->OnClick);
}

}  // namespace platform::win32ui
