#include "platform/widgets.h"

#include <algorithm>
#include <cassert>

#include "platform/text.h"
#include "platform/windowing.h"

namespace platform {

// ---------------------------------------------------------------- Control

Control::Control(Form& form, ControlKind kind, std::string name, int left, int top, int width, int height, int tabOrder,
                 std::string caption)
    : form_(form),
      kind_(kind),
      name_(std::move(name)),
      left_(left),
      top_(top),
      width_(width),
      height_(height),
      tabOrder_(tabOrder),
      caption_(std::move(caption)) {
    form.registerControl(*this);
}

void Control::changed() {
    if (peer) peer->changed();
}

void Control::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed();
}

void Control::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (!canFocus() && focused()) form_.focus(nullptr);
    changed();
}

void Control::setVisible(bool visible) {
    visible_ = visible;
    if (!canFocus() && focused()) form_.focus(nullptr);
    changed();
}

bool Control::focused() const { return form_.focusedControl() == this; }

bool Control::canFocus() const { return kind_ != ControlKind::Label && enabled_ && visible_; }

void Control::setFocus() {
    if (canFocus()) form_.focus(this);
}

char acceleratorOf(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); i += charLength(caption, i)) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;  // "&&" is a literal ampersand
            continue;
        }
        return upperAscii(caption.substr(i + 1, 1))[0];
    }
    return 0;
}

char Control::accelerator() const { return acceleratorOf(caption_); }

Label::Label(Form& form, std::string name, int left, int top, int width, int height, std::string caption, bool centred)
    : Control(form, ControlKind::Label, std::move(name), left, top, width, height, -1, std::move(caption)),
      centred_(centred) {}

// ---------------------------------------------------------------- Button

Button::Button(Form& form, std::string name, int left, int top, int width, int height, int tabOrder,
               std::string caption, int modalResult)
    : Control(form, ControlKind::Button, std::move(name), left, top, width, height, tabOrder, std::move(caption)),
      modalResult_(modalResult) {}

void Button::click() {
    if (modalResult_ != mr::NotSet) form().setModalResult(modalResult_);
    if (OnClick) OnClick();
}

// ---------------------------------------------------------------- Edit

Edit::Edit(Form& form, std::string name, int left, int top, int width, int height, int tabOrder, std::size_t maxLength)
    : Control(form, ControlKind::Edit, std::move(name), left, top, width, height, tabOrder, ""),
      maxLength_(maxLength) {}

std::string Edit::limited(std::string_view text) const {
    return maxLength_ == 0 ? std::string(text) : truncateBytes(text, maxLength_);
}

// ---------------------------------------------------------------- ListBox

bool sortedLineLess(const std::string& a, const std::string& b) {
    std::string ua = upperAscii(a), ub = upperAscii(b);
    if (ua != ub) {
        return std::lexicographical_compare(ua.begin(), ua.end(), ub.begin(), ub.end(), [](char x, char y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
    }
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

ListBox::ListBox(Form& form, std::string name, int left, int top, int width, int height, int tabOrder, bool sorted,
                 int itemHeight)
    : Control(form, ControlKind::ListBox, std::move(name), left, top, width, height, tabOrder, ""),
      sorted_(sorted),
      itemHeight_(itemHeight) {}

int ListBox::add(std::string line) {
    auto pos = lines_.end();
    if (sorted_) pos = std::upper_bound(lines_.begin(), lines_.end(), line, sortedLineLess);
    int index = static_cast<int>(pos - lines_.begin());
    lines_.insert(pos, std::move(line));
    if (itemIndex_ >= index) ++itemIndex_;
    changed();
    return index;
}

void ListBox::clear() {
    lines_.clear();
    itemIndex_ = -1;
    changed();
}

void ListBox::setItemIndex(int index) {
    itemIndex_ = (index >= 0 && index < count()) ? index : -1;
    changed();
}

bool ListBox::selectByChar(char c) {
    if (lines_.empty()) return false;
    char wanted = upperAscii(std::string(1, c))[0];
    int n = count();
    int start = itemIndex_ < 0 ? 0 : itemIndex_ + 1;
    for (int k = 0; k < n; ++k) {
        int i = (start + k) % n;
        const std::string& line = lines_[i];
        if (!line.empty() && upperAscii(line.substr(0, 1))[0] == wanted) {
            setItemIndex(i);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- RadioButton, CheckBox

RadioButton::RadioButton(Form& form, std::string name, int left, int top, int width, int height, int tabOrder,
                         std::string caption)
    : Control(form, ControlKind::RadioButton, std::move(name), left, top, width, height, tabOrder, std::move(caption)) {
}

void RadioButton::setChecked(bool checked) {
    if (checked) {
        for (Control* c : form().controls()) {
            if (c != this && c->kind() == ControlKind::RadioButton) {
                auto* other = static_cast<RadioButton*>(c);
                if (other->checked_) {
                    other->checked_ = false;
                    other->changed();
                }
            }
        }
    }
    checked_ = checked;
    changed();
}

CheckBox::CheckBox(Form& form, std::string name, int left, int top, int width, int height, int tabOrder,
                   std::string caption)
    : Control(form, ControlKind::CheckBox, std::move(name), left, top, width, height, tabOrder, std::move(caption)) {}

void CheckBox::setChecked(bool checked) {
    checked_ = checked;
    changed();
}

// ---------------------------------------------------------------- menus

MenuItem::MenuItem(std::string name, std::string caption) : name_(std::move(name)), caption_(std::move(caption)) {}

void MenuItem::changed() {
    if (peer) peer->changed();
}

void MenuItem::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed();
}

void MenuItem::setEnabled(bool enabled) {
    enabled_ = enabled;
    changed();
}

void MenuItem::setVisible(bool visible) {
    visible_ = visible;
    changed();
}

MenuItem& MenuItem::add(std::string name, std::string caption) {
    items_.push_back(std::make_unique<MenuItem>(std::move(name), std::move(caption)));
    items_.back()->parent_ = this;
    return *items_.back();
}

bool MenuItem::usable() const {
    for (const MenuItem* m = this; m; m = m->parent_) {
        if (!m->enabled_ || !m->visible_) return false;
    }
    return true;
}

MenuItem& MainMenu::add(std::string name, std::string caption) {
    items_.push_back(std::make_unique<MenuItem>(std::move(name), std::move(caption)));
    return *items_.back();
}

MenuItem* MainMenu::find(const std::string& name) const {
    for (const auto& top : items_) {
        if (top->name() == name) return top.get();
        for (const auto& item : top->items()) {
            if (item->name() == name) return item.get();
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------- Timer, OpenDialog

// A timer is declared on its form like a control but needs nothing from it.
Timer::Timer(Form&, std::string name, int interval, bool enabled)
    : name_(std::move(name)), interval_(interval), enabled_(enabled) {
    changed();
}

Timer::~Timer() { windowing().timerDestroyed(*this); }

void Timer::changed() { windowing().timerChanged(*this); }

void Timer::setInterval(int interval) {
    interval_ = interval;
    changed();
}

void Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    changed();
}

OpenDialog::OpenDialog(Form&, std::string name, std::string filterText)
    : filter(std::move(filterText)), name_(std::move(name)) {}

bool OpenDialog::execute() {
    pathLost = false;
    return windowing().runOpenDialog(*this);
}

// ---------------------------------------------------------------- Form

Form::Form(std::string className, std::string caption, int clientWidth, int clientHeight, BorderStyle border,
           int fontHeight)
    : className_(std::move(className)),
      caption_(std::move(caption)),
      clientWidth_(clientWidth),
      clientHeight_(clientHeight),
      border_(border),
      fontHeight_(fontHeight) {}

Form::~Form() { destroy(); }

void Form::destroy() {
    if (destroyed_) return;
    destroyed_ = true;
    if (OnDestroy) dispatch(OnDestroy);
    windowing().destroyForm(*this);
}

void Form::changed() {
    if (peer) peer->changed();
}

void Form::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed();
}

int Form::width() const { return clientWidth_ + windowing().frameWidth(*this); }
int Form::height() const { return clientHeight_ + windowing().frameHeight(*this); }

void Form::setPosition(int left, int top) {
    left_ = left;
    top_ = top;
    changed();
}

void Form::centre() {
    // Integer division truncating toward zero, as the definition demands.
    setPosition((windowing().screenWidth() - width()) / 2, (windowing().screenHeight() - height()) / 2);
}

Control* Form::findControl(const std::string& name) const {
    for (Control* c : controls_) {
        if (c->name() == name) return c;
    }
    return nullptr;
}

MainMenu& Form::createMenu() {
    menu_ = std::make_unique<MainMenu>();
    return *menu_;
}

void Form::focus(Control* control) {
    Control* old = focused_;
    focused_ = control;
    if (old && old->peer) old->peer->changed();
    if (control && control->peer) control->peer->changed();
}

Control* Form::firstTabStop() const {
    Control* best = nullptr;
    for (Control* c : controls_) {
        if (c->tabOrder() < 0 || !c->canFocus()) continue;
        if (!best || c->tabOrder() < best->tabOrder()) best = c;
    }
    return best;
}

void Form::setModalResult(int result) { modalResult_ = result; }

int Form::showModal() {
    modal_ = true;
    modalResult_ = mr::NotSet;
    if (!focused_ || !focused_->canFocus()) focus(firstTabStop());
    windowing().modalOpening(*this);
    showing_ = true;
    windowing().showForm(*this);
    if (OnShow) dispatch(OnShow);
    if (modalResult_ == mr::NotSet) windowing().runModal(*this);
    showing_ = false;
    windowing().hideForm(*this);
    modal_ = false;
    windowing().modalClosed(*this, modalResult_);
    return modalResult_;
}

void Form::runAsMain() {
    if (!focused_ || !focused_->canFocus()) focus(firstTabStop());
    showing_ = true;
    windowing().showForm(*this);
    if (OnShow) dispatch(OnShow);
    if (showing_) windowing().runMain(*this);
}

void Form::close() {
    bool canClose = true;
    if (OnCloseQuery) dispatch([&] { OnCloseQuery(canClose); });
    if (!canClose) return;
    if (modal_) {
        if (modalResult_ == mr::NotSet) modalResult_ = mr::Cancel;
    } else if (showing_) {
        showing_ = false;
        windowing().hideForm(*this);
    }
}

}  // namespace platform
