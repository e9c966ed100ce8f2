// Implements: the native widget of an edit box: native typing, the byte
// limit and the code page enforced on every change, the text shown.
#include "platform/fltk/EditPeer.h"

#include <FL/Fl_Input.H>

#include <memory>
#include <optional>
#include <string>

#include "platform/posix/convert.h"

namespace platform::fltk {

namespace {

// Typing is native (so that the input method works); the byte limit and the
// code page are enforced on every change.
class EditWidget : public Fl_Input {
public:
    EditWidget(Edit& edit, int x, int y, int w, int h) : Fl_Input(x, y, w, h), edit_(edit) {
        when(FL_WHEN_CHANGED);
        callback([](Fl_Widget* widget, void*) { static_cast<EditWidget*>(widget)->edited(); });
    }
    void refresh() {
        std::string shown = posix::toUtf8Display(edit_.text());
        if (shown != value()) value(shown.c_str());
    }

private:
    void edited() {
        std::optional<std::string> cp932 = posix::fromUtf8(value());
        if (!cp932) {  // a character the code page cannot hold is not taken
            refresh();
            return;
        }
        std::string limited = edit_.limited(*cp932);
        edit_.setText(limited);
        if (limited != *cp932) refresh();
    }
    Edit& edit_;
};

class EditPeer : public ControlPeer {
public:
    EditPeer(Edit& edit, EditWidget* widget) : ControlPeer(edit, widget), widget_(widget) {}

protected:
    void refresh() override { widget_->refresh(); }

private:
    EditWidget* widget_;
};

}  // namespace

Fl_Widget* createEditWidget(Edit& edit, int x, int y, int w, int h, int fontSize) {
    auto* widget = new EditWidget(edit, x, y, w, h);
    widget->textsize(fontSize);
    edit.peer = std::make_unique<EditPeer>(edit, widget);
    return widget;
}

}  // namespace platform::fltk
