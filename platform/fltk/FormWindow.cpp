// Implements: the native window of a form: drops of files onto the whole
// window, handled after the drag-and-drop exchange and never under a modal
// window; a move reported as the form's new position.
#include "platform/fltk/FormWindow.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include "platform/fltk/FormPeer.h"
#include "platform/fltk/XDisplay.h"
#include "platform/posix/UriList.h"
#include "platform/posix/convert.h"
#include "platform/windowing.h"

namespace platform::fltk {

FormWindow::~FormWindow() { Fl::remove_timeout(deliverDrops, this); }

void FormWindow::paintBeforeMap() {
    if (!paintFirstFrame_ || paintedBackground_ || parent() || w() <= 0 || h() <= 0) return;
    make_current();  // FLTK's graphics context, made with the first current window
    Fl_Offscreen content = fl_create_offscreen(w(), h());
    fl_begin_offscreen(content);
    damage(FL_DAMAGE_ALL);
    draw();
    fl_end_offscreen();
    clear_damage();
    // The server keeps the pixmap while it is the background.
    XSetWindowBackgroundPixmap(fl_display, fl_xid(this), content);
    fl_delete_offscreen(content);
    paintedBackground_ = true;
}

void FormWindow::flush() {
    Fl_Double_Window::flush();
    // Drawn for real now: later exposures need no stale picture under them.
    if (paintedBackground_ && shown()) {
        XSetWindowBackgroundPixmap(fl_display, fl_xid(this), None);
        paintedBackground_ = false;
    }
}

int FormWindow::handle(int event) {
    switch (event) {
    case FL_DND_ENTER:
    case FL_DND_DRAG:
        // The whole window takes the drop, not the control under the
        // pointer: the paste then comes to this window.
        if (!acceptsDropNow()) break;
        Fl::belowmouse(this);
        return 1;
    case FL_DND_RELEASE:
        if (acceptsDropNow()) return 1;
        break;
    case FL_DND_LEAVE: return 1;
    case FL_PASTE:
        if (acceptsDropNow()) {
            dropped(Fl::event_text());
            return 1;
        }
        break;
    default: break;
    }
    return Fl_Double_Window::handle(event);
}

void FormWindow::resize(int x, int y, int w, int h) {
    Fl_Double_Window::resize(x, y, w, h);
    Form& form = peer_.form();
    // The form's position is in defined units.
    const int left = units(x), top = units(y);
    if (shown() && (form.left() != left || form.top() != top)) form.movedTo(left, top);
}

bool FormWindow::acceptsDropNow() const { return peer_.acceptsDrops && !Fl::modal(); }

void FormWindow::dropped(const std::string& text) {
    std::vector<std::string> paths;
    for (const std::string& utf8 : posix::pathsFromUriList(text)) {
        // A path the code page cannot hold arrives empty, to be refused.
        paths.push_back(posix::fromUtf8(utf8).value_or(""));
    }
    if (paths.empty()) return;
    // Handled once the drag-and-drop exchange is over: the handler may show
    // a modal box, and the source waits for our answer until we return.
    pendingDrops_.push_back(std::move(paths));
    Fl::add_timeout(0.0, deliverDrops, this);
}

void FormWindow::deliverDrops(void* data) {
    auto* self = static_cast<FormWindow*>(data);
    while (!self->pendingDrops_.empty()) {
        PathDrop drop(std::move(self->pendingDrops_.front()));
        self->pendingDrops_.pop_front();
        Form& form = self->peer_.form();
        // A modal window may have opened since the drop was taken.
        if (form.OnDropFiles && !Fl::modal()) dispatch([&] { form.OnDropFiles(drop); });
    }
}

}  // namespace platform::fltk
