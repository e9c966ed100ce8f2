// Implements: the menu bar of a form: one FLTK menu per visible top menu,
// its visible commands greyed when disabled, "&" marking each accelerator;
// a command runs its handler when it and every menu above it are usable.
#include "platform/fltk/MenuBar.h"

#include <memory>

#include "platform/fltk/DisplayText.h"
#include "platform/fltk/XDisplay.h"
#include "platform/windowing.h"

namespace platform::fltk {

namespace {

struct MenuPeer : Peer {
    explicit MenuPeer(MenuBar& bar) : owner(bar) {}
    void changed() override { owner.rebuild(); }
    MenuBar& owner;
};

}  // namespace

MenuBar::MenuBar(MainMenu& menu, int width, int fontSize)
    : menu_(menu), bar_(new Fl_Menu_Bar(0, 0, width, px(kMenuBarHeight))) {
    // The menus take their text size, and their line heights follow it.
    bar_->textsize(fontSize);
    bar_->box(FL_FLAT_BOX);
    for (const auto& top : menu_.items()) {
        top->peer = std::make_unique<MenuPeer>(*this);
        for (const auto& item : top->items()) item->peer = std::make_unique<MenuPeer>(*this);
    }
    rebuild();
}

MenuBar::~MenuBar() {
    for (const auto& top : menu_.items()) {
        top->peer.reset();
        for (const auto& item : top->items()) item->peer.reset();
    }
    bar_->menu(nullptr);
}

void MenuBar::rebuild() {
    items_.clear();
    labels_.clear();
    auto item = [&](const MenuItem& m, int flags, bool command) {
        labels_.push_back(displayText(m.caption()));
        Fl_Menu_Item fi{};
        fi.text = labels_.back().c_str();
        fi.flags = flags | (m.enabled() ? 0 : FL_MENU_INACTIVE);
        if (command) {
            fi.callback_ = [](Fl_Widget*, void* data) {
                auto* mi = static_cast<MenuItem*>(data);
                if (mi->usable() && mi->OnClick) dispatch(mi->OnClick);
            };
            fi.user_data_ = const_cast<MenuItem*>(&m);
        }
        items_.push_back(fi);
    };
    for (const auto& top : menu_.items()) {
        if (!top->visible()) continue;
        item(*top, FL_SUBMENU, false);
        for (const auto& sub : top->items()) {
            if (sub->visible()) item(*sub, 0, true);
        }
        items_.push_back(Fl_Menu_Item{});
    }
    items_.push_back(Fl_Menu_Item{});
    bar_->menu(items_.data());
    bar_->redraw();
}

}  // namespace platform::fltk
