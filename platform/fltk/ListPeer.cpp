// Implements: the native widget of a list box: lines shown literally at the
// list's line height, the selection shown and kept in view, a press that
// selects the line under the pointer, a double click; the keys are left to
// the shared input rules.
#include "platform/fltk/ListPeer.h"

#include <FL/Fl.H>
#include <FL/Fl_Hold_Browser.H>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/fltk/XDisplay.h"
#include "platform/input.h"
#include "platform/posix/convert.h"
#include "platform/windowing.h"

namespace platform::fltk {

namespace {

class ListWidget : public Fl_Hold_Browser {
public:
    ListWidget(ListBox& list, int x, int y, int w, int h) : Fl_Hold_Browser(x, y, w, h), list_(list) {
        // Lines are shown as they are: no format codes, no columns. The
        // marker is a byte UTF-8 never holds; 0 would not do, since FLTK
        // then takes the end of an empty line for a code and reads the
        // uninitialised bytes behind it as more codes (a font number, say).
        format_char('\xFF');
        column_char('\xFF');
        // The mouse is handled in handle(), the keys by the shared input rules.
        when(FL_WHEN_NEVER);
    }
    int handle(int event) override {
        if (event == FL_KEYBOARD || event == FL_SHORTCUT) return 0;
        if (event != FL_PUSH && event != FL_DRAG) return Fl_Hold_Browser::handle(event);
        const bool doubleClick = event == FL_PUSH && Fl::event_clicks() > 0 && onLine();
        const int handled = Fl_Hold_Browser::handle(event);
        // FLTK has moved its selection to the line under the pointer; as in a
        // Windows list box, the press selects it and the program learns of
        // it at once. (Below the last line nothing changes.)
        const int index = value() - 1;
        if (index >= 0 && index != list_.itemIndex()) {
            selectLine(list_, index);
        } else {
            refresh();
            if (event == FL_PUSH) list_.setFocus();
        }
        if (doubleClick) {
            // The next press starts a new click, as after a Windows double click.
            Fl::event_is_click(0);
            if (list_.OnDblClick) dispatch(list_.OnDblClick);
        }
        return handled;
    }
    // Windows' list boxes take a fixed line height; FLTK's follows the font.
    int item_height(void* item) const override {
        return std::max(Fl_Hold_Browser::item_height(item), px(list_.itemHeight()));
    }
    void refresh() {
        // Rebuilt only when the lines changed, so that the scroll position
        // stays where the user left it; the selection is scrolled into view.
        if (shown_ != list_.lines()) {
            shown_ = list_.lines();
            clear();
            // Literally: in a list neither "@" nor "&" means anything, so
            // neither is doubled as for a label.
            for (const std::string& line : shown_) add(posix::toUtf8Display(line).c_str());
        }
        if (list_.itemIndex() >= 0) select(list_.itemIndex() + 1);
        else deselect();
    }

private:
    // The pointer is on a line, not on the scroll bar or below the last line.
    bool onLine() {
        int x, y, w, h;
        bbox(x, y, w, h);
        return Fl::event_inside(x, y, w, h) && find_item(Fl::event_y()) != nullptr;
    }
    ListBox& list_;
    std::vector<std::string> shown_;
};

class ListPeer : public ControlPeer {
public:
    ListPeer(ListBox& list, ListWidget* widget) : ControlPeer(list, widget), widget_(widget) {}

protected:
    void refresh() override { widget_->refresh(); }

private:
    ListWidget* widget_;
};

}  // namespace

Fl_Widget* createListWidget(ListBox& list, int x, int y, int w, int h, int fontSize) {
    auto* widget = new ListWidget(list, x, y, w, h);
    widget->textsize(fontSize);
    list.peer = std::make_unique<ListPeer>(list, widget);
    return widget;
}

}  // namespace platform::fltk
