// Implements: the native window of a form (fixed size, close box, drops), the
// native widget of each control kind, the menu bar, and keyboard routing.
#include "platform/fltk/Peers.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Round_Button.H>
#include <FL/x.H>

#include <X11/Xatom.h>

#include <algorithm>

#include "platform/fltk/FltkBackend.h"
#include "platform/posix/UriList.h"
#include "platform/input.h"
#include "platform/posix/convert.h"
#include "platform/text.h"

namespace platform::fltk {

std::string displayText(const std::string& cp932, bool keepAmpersands) {
    std::string out;
    for (char c : posix::toUtf8Display(cp932)) {
        if (c == '\r') continue;
        if (c == '@') out += '@';  // FLTK reads "@x" as a symbol
        if (c == '&' && !keepAmpersands) out += '&';
        out += c;
    }
    return out;
}

namespace {

// ---------------------------------------------------------------- widgets

// Windows draws "&&" as "&" and "&x" as underlined x; FLTK does the same
// with its shortcut labels. A list's or edit box's caption is no label.
void applyState(Fl_Widget* w, const Control& c) {
    if (c.kind() != ControlKind::ListBox && c.kind() != ControlKind::Edit)
        w->copy_label(displayText(c.caption()).c_str());
    if (c.enabled()) w->activate();
    else w->deactivate();
    if (c.visible()) w->show();
    else w->hide();
}

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
        return std::max(Fl_Hold_Browser::item_height(item), list_.itemHeight());
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

// Typing is native (so that the input method works); the byte limit and the
// code page are enforced on every change.
class EditWidget : public Fl_Input {
public:
    EditWidget(Edit& edit, int x, int y, int w, int h) : Fl_Input(x, y, w, h), edit_(edit) {
        when(FL_WHEN_CHANGED);
        callback([](Fl_Widget* w, void*) { static_cast<EditWidget*>(w)->edited(); });
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

class ControlPeer : public Peer {
public:
    ControlPeer(Control& control, Fl_Widget* widget) : control_(control), widget_(widget) {}
    void changed() override {
        switch (control_.kind()) {
        case ControlKind::ListBox:
            static_cast<ListWidget*>(widget_)->refresh();
            break;
        case ControlKind::Edit:
            static_cast<EditWidget*>(widget_)->refresh();
            break;
        case ControlKind::RadioButton:
            static_cast<Fl_Button*>(widget_)->value(static_cast<RadioButton&>(control_).checked());
            break;
        case ControlKind::CheckBox:
            static_cast<Fl_Button*>(widget_)->value(static_cast<CheckBox&>(control_).checked());
            break;
        default:
            break;
        }
        applyState(widget_, control_);
        if (control_.focused() && Fl::focus() != widget_ && widget_->visible_r()) widget_->take_focus();
        widget_->redraw();
    }

private:
    Control& control_;
    Fl_Widget* widget_;
};

Fl_Widget* createWidget(Control& c, int yOffset, int fontSize) {
    int x = c.left(), y = c.top() + yOffset, w = c.width(), h = c.height();
    Fl_Widget* widget = nullptr;
    switch (c.kind()) {
    case ControlKind::Label: {
        // Windows labels underline their "&" accelerator as buttons do.
        struct LabelBox : Fl_Box {
            LabelBox(int x, int y, int w, int h) : Fl_Box(x, y, w, h) { set_flag(SHORTCUT_LABEL); }
        };
        auto* box = new LabelBox(x, y, w, h);
        auto& label = static_cast<Label&>(c);
        box->align(FL_ALIGN_INSIDE | FL_ALIGN_CLIP | (label.centred() ? FL_ALIGN_TOP : FL_ALIGN_TOP_LEFT));
        widget = box;
        break;
    }
    case ControlKind::Button: {
        auto* b = new Fl_Button(x, y, w, h);
        b->callback([](Fl_Widget*, void* data) { clickControl(*static_cast<Control*>(data)); }, &c);
        widget = b;
        break;
    }
    case ControlKind::RadioButton:
    case ControlKind::CheckBox: {
        Fl_Button* b = c.kind() == ControlKind::CheckBox ? static_cast<Fl_Button*>(new Fl_Check_Button(x, y, w, h))
                                                         : new Fl_Round_Button(x, y, w, h);
        b->callback([](Fl_Widget*, void* data) { clickControl(*static_cast<Control*>(data)); }, &c);
        widget = b;
        break;
    }
    case ControlKind::Edit: {
        auto* e = new EditWidget(static_cast<Edit&>(c), x, y, w, h);
        e->textsize(fontSize);
        widget = e;
        break;
    }
    case ControlKind::ListBox: {
        auto* l = new ListWidget(static_cast<ListBox&>(c), x, y, w, h);
        l->textsize(fontSize);
        widget = l;
        break;
    }
    }
    widget->labelsize(fontSize);
    return widget;
}

// ---------------------------------------------------------------- keys

int virtualKeyOf(int flKey, const char* text) {
    switch (flKey) {
    case FL_Enter:
    case FL_KP_Enter: return vk::Return;
    case FL_Escape: return vk::Escape;
    case FL_BackSpace: return vk::Back;
    case FL_Tab: return vk::Tab;
    case FL_Up: return vk::Up;
    case FL_Down: return vk::Down;
    case FL_Left: return 37;
    case FL_Right: return 39;
    case FL_Home: return 36;
    case FL_End: return 35;
    case FL_Page_Up: return 33;
    case FL_Page_Down: return 34;
    case FL_Delete: return 46;
    case FL_Insert: return 45;
    case ' ': return vk::Space;
    default: break;
    }
    if (flKey > FL_F && flKey <= FL_F_Last) return 111 + (flKey - FL_F);
    if (flKey >= 'a' && flKey <= 'z') return flKey - 'a' + 'A';
    if (flKey >= '0' && flKey <= '9') return flKey;
    if (flKey > 0 && flKey < 0x80) return virtualKeyForChar(static_cast<char>(flKey));
    if (text && static_cast<unsigned char>(text[0]) >= 0x80) return 0xE5;  // from the input method
    return 0;
}

bool opensTopMenu(const Form& form, char ch) {
    if (!form.menu()) return false;
    char wanted = upperAscii(std::string(1, ch))[0];
    for (const auto& top : form.menu()->items()) {
        // The same rule as a control's accelerator: the byte after "&".
        const std::string& c = top->caption();
        std::size_t amp = c.find('&');
        if (top->visible() && amp != std::string::npos && amp + 1 < c.size() &&
            upperAscii(c.substr(amp + 1, 1))[0] == wanted)
            return true;
    }
    return false;
}

int routeEvent(int event, Fl_Window* window) {
    // Keys reach the modal window whichever window the server gave them to.
    FormPeer* peer = peerOfWindow(event == FL_KEYBOARD && Fl::modal() ? Fl::modal() : window);
    // An open menu (a grab) takes the keys itself.
    if (!peer || event != FL_KEYBOARD || Fl::grab()) {
        int handled = Fl::handle_(event, window);
        if (peer && (event == FL_PUSH || event == FL_RELEASE)) peer->syncFocusFromNative();
        return handled;
    }
    Form& form = peer->form();
    int state = Fl::event_state();
    ShiftState shift{(state & FL_SHIFT) != 0, (state & FL_CTRL) != 0, (state & FL_ALT) != 0};
    std::string typed;
    if (Fl::event_length() > 0 && static_cast<unsigned char>(Fl::event_text()[0]) >= 0x20) {
        typed = posix::fromUtf8(Fl::event_text()).value_or("");
    }
    int key = virtualKeyOf(Fl::event_key(), Fl::event_text());
    if (key == 0 && typed.empty()) return Fl::handle_(event, window);
    peer->syncFocusFromNative();
    Control* focused = form.focusedControl();
    if (!runKeyDown(form, key, shift)) return 1;
    if (focused && focused->kind() == ControlKind::Edit && !shift.alt && key != vk::Tab && key != vk::Return &&
        key != vk::Escape) {
        return Fl::handle_(event, window);  // the edit box types natively
    }
    if (controlBehaviour(form, key, shift, typed)) return 1;
    if (key == vk::Escape || key == vk::Return) return 1;  // never closes a window on its own
    // Alt+letter opens a top menu whose accelerator it is, and nothing else
    // (FLTK would also run a command deep inside a menu).
    if (shift.alt && !typed.empty() && !opensTopMenu(form, typed[0])) return 1;
    int handled = Fl::handle_(event, window);
    peer->syncFocusFromNative();
    return handled;
}

}  // namespace

// ---------------------------------------------------------------- windows

class FormWindow : public Fl_Double_Window {
public:
    FormWindow(FormPeer& peer, int w, int h, const char* title) : Fl_Double_Window(w, h, title), peer_(peer) {}
    FormPeer& peer() const { return peer_; }
    int handle(int event) override {
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
        case FL_DND_LEAVE:
            return 1;
        case FL_PASTE:
            if (acceptsDropNow()) {
                dropped(Fl::event_text());
                return 1;
            }
            break;
        default:
            break;
        }
        return Fl_Double_Window::handle(event);
    }

    ~FormWindow() override { Fl::remove_timeout(deliverDrops, this); }
    // A move by the user (or the window manager) is the form's new position.
    void resize(int x, int y, int w, int h) override {
        Fl_Double_Window::resize(x, y, w, h);
        Form& form = peer_.form();
        if (shown() && (form.left() != x || form.top() != y)) form.movedTo(x, y);
    }

private:
    // While a modal window is open the other windows take nothing, drops
    // included, as on Windows.
    bool acceptsDropNow() const { return peer_.acceptsDrops && !Fl::modal(); }
    void dropped(const std::string& text);
    static void deliverDrops(void* window);
    FormPeer& peer_;
    std::deque<std::vector<std::string>> pendingDrops_;
};

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

FormPeer* peerOfWindow(Fl_Window* window) {
    auto* fw = dynamic_cast<FormWindow*>(window);
    return fw ? &fw->peer() : nullptr;
}

FormPeer::FormPeer(Form& form) : form_(form) {
    int fontSize = fontSizeFor(form.fontHeight());
    int menuHeight = form.menu() ? kMenuBarHeight : 0;
    window_ = new FormWindow(*this, form.clientWidth(), form.clientHeight() + menuHeight,
                             nullptr);
    window_->copy_label(displayText(form.caption(), false).c_str());
    window_->xclass("Tarvo");
    if (form.border() == BorderStyle::Sizeable) window_->size_range(window_->w() / 2, window_->h() / 2);
    else window_->size_range(window_->w(), window_->h(), window_->w(), window_->h());
    window_->callback([](Fl_Widget* w, void*) {
        // The close box (or the window manager's close): the program decides.
        if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
        static_cast<FormWindow*>(w)->peer().form().close();
    });
    window_->begin();
    if (form.menu()) {
        menuBar_ = new Fl_Menu_Bar(0, 0, form.clientWidth(), kMenuBarHeight);
        menuBar_->textsize(fontSize);
        menuBar_->box(FL_FLAT_BOX);
    }
    for (Control* c : form.controls()) {
        Fl_Widget* w = createWidget(*c, menuHeight, fontSize);
        widgets_.emplace_back(w, c);
        c->peer = std::make_unique<ControlPeer>(*c, w);
    }
    window_->end();
    if (form.menu()) {
        struct MenuPeer : Peer {
            explicit MenuPeer(FormPeer& p) : owner(p) {}
            void changed() override { owner.rebuildMenu(); }
            FormPeer& owner;
        };
        for (const auto& top : form.menu()->items()) {
            top->peer = std::make_unique<MenuPeer>(*this);
            for (const auto& item : top->items()) item->peer = std::make_unique<MenuPeer>(*this);
        }
        rebuildMenu();
    }
    for (Control* c : form.controls()) c->peer->changed();
    changed();
}

FormPeer::~FormPeer() {
    for (auto& [widget, control] : widgets_) control->peer.reset();
    if (form_.menu()) {
        for (const auto& top : form_.menu()->items()) {
            top->peer.reset();
            for (const auto& item : top->items()) item->peer.reset();
        }
    }
    delete window_;
}

void FormPeer::changed() {
    window_->copy_label(displayText(form_.caption(), false).c_str());
    window_->position(form_.left(), form_.top());
}

void FormPeer::rebuildMenu() {
    if (!menuBar_) return;
    menuItems_.clear();
    menuLabels_.clear();
    auto item = [&](const MenuItem& m, int flags, bool command) {
        menuLabels_.push_back(displayText(m.caption()));
        Fl_Menu_Item fi{};
        fi.text = menuLabels_.back().c_str();
        fi.flags = flags | (m.enabled() ? 0 : FL_MENU_INACTIVE);
        if (command) {
            fi.callback_ = [](Fl_Widget*, void* data) {
                auto* mi = static_cast<MenuItem*>(data);
                if (mi->usable() && mi->OnClick) dispatch(mi->OnClick);
            };
            fi.user_data_ = const_cast<MenuItem*>(&m);
        }
        menuItems_.push_back(fi);
    };
    for (const auto& top : form_.menu()->items()) {
        if (!top->visible()) continue;
        item(*top, FL_SUBMENU, false);
        for (const auto& sub : top->items()) {
            if (sub->visible()) item(*sub, 0, true);
        }
        menuItems_.push_back(Fl_Menu_Item{});
    }
    menuItems_.push_back(Fl_Menu_Item{});
    menuBar_->menu(menuItems_.data());
    menuBar_->redraw();
}

Fl_Double_Window* FormPeer::window() const { return window_; }

Control* FormPeer::controlOf(const Fl_Widget* w) const {
    for (const auto& [widget, control] : widgets_) {
        if (widget == w) return control;
    }
    return nullptr;
}

void FormPeer::syncFocusFromNative() {
    for (Fl_Widget* w = Fl::focus(); w; w = w->parent()) {
        if (Control* c = controlOf(w)) {
            if (!c->focused()) form_.focus(c);
            return;
        }
    }
}

void installEventRouting() { Fl::event_dispatch(routeEvent); }

}  // namespace platform::fltk
