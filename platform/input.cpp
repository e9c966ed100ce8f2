#include "platform/input.h"

#include <algorithm>

#include "platform/text.h"
#include "platform/windowing.h"

namespace platform {

namespace {

bool takesCharacters(const Control& c) { return c.kind() == ControlKind::Edit || c.kind() == ControlKind::ListBox; }

void moveFocus(Form& form, bool backwards) {
    std::vector<Control*> stops;
    for (Control* c : form.controls()) {
        if (c->tabOrder() >= 0 && c->canFocus()) stops.push_back(c);
    }
    if (stops.empty()) return;
    std::stable_sort(stops.begin(), stops.end(), [](Control* a, Control* b) { return a->tabOrder() < b->tabOrder(); });
    auto it = std::find(stops.begin(), stops.end(), form.focusedControl());
    std::size_t i = it == stops.end() ? 0 : static_cast<std::size_t>(it - stops.begin());
    std::size_t n = stops.size();
    std::size_t next = it == stops.end() ? 0 : (backwards ? (i + n - 1) % n : (i + 1) % n);
    form.focus(stops[next]);
}

bool listKey(ListBox& list, int key, ShiftState shift, const std::string& typed) {
    int before = list.itemIndex();
    if (key == vk::Up || key == vk::Down) {
        if (list.count() > 0) {
            list.setItemIndex(key == vk::Up ? std::max(before - 1, 0) : std::min(before + 1, list.count() - 1));
        }
    } else if (!typed.empty() && !shift.ctrl && !shift.alt) {
        list.selectByChar(typed[0]);
    } else {
        return false;
    }
    if (list.itemIndex() != before && list.OnClick) dispatch(list.OnClick);
    return true;
}

bool editKey(Edit& edit, int key, ShiftState shift, const std::string& typed) {
    std::string text = edit.text();
    if (key == vk::Back) {
        if (text.empty()) return true;
        // Step back over a whole double-byte character.
        std::size_t last = 0;
        for (std::size_t i = 0; i < text.size(); i += charLength(text, i)) last = i;
        text.erase(last);
    } else if (!typed.empty() && !shift.ctrl && !shift.alt && static_cast<unsigned char>(typed[0]) >= 0x20) {
        if (edit.maxLength() && text.size() + typed.size() > edit.maxLength()) return true;
        text += typed;
    } else {
        return false;
    }
    edit.setText(text);
    return true;
}

}  // namespace

int virtualKeyForChar(char c) {
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
    static const std::string shiftedDigits = ")!@#$%^&*(";
    if (std::size_t d = shiftedDigits.find(c); d != std::string::npos) return '0' + static_cast<int>(d);
    static const struct {
        const char* chars;
        int key;
    } oem[] = {{";:", 0xBA}, {"=+", 0xBB}, {",<", 0xBC},  {"-_", 0xBD}, {".>", 0xBE}, {"/?", 0xBF},
               {"`~", 0xC0}, {"[{", 0xDB}, {"\\|", 0xDC}, {"]}", 0xDD}, {"'\"", 0xDE}};
    for (const auto& o : oem) {
        if (std::string(o.chars).find(c) != std::string::npos) return o.key;
    }
    return 0;
}

Control* findAccelerator(Form& form, char ch) {
    char wanted = upperAscii(std::string(1, ch))[0];
    for (Control* c : form.controls()) {
        if (c->accelerator() != wanted) continue;
        if (c->kind() != ControlKind::Label ? c->canFocus()
                                            : c->visible() && static_cast<Label*>(c)->focusControl &&
                                                  static_cast<Label*>(c)->focusControl->canFocus())
            return c;
    }
    return nullptr;
}

void clickControl(Control& control) {
    switch (control.kind()) {
    case ControlKind::Button:
        control.setFocus();
        dispatch([&] { static_cast<Button&>(control).click(); });
        break;
    case ControlKind::RadioButton:
        control.setFocus();
        static_cast<RadioButton&>(control).setChecked(true);
        if (control.OnClick) dispatch(control.OnClick);
        break;
    case ControlKind::CheckBox: {
        control.setFocus();
        auto& box = static_cast<CheckBox&>(control);
        box.setChecked(!box.checked());
        if (control.OnClick) dispatch(control.OnClick);
        break;
    }
    case ControlKind::Label:
        // A label's accelerator moves the focus to its control.
        if (Control* target = static_cast<Label&>(control).focusControl) target->setFocus();
        break;
    default: break;
    }
}

void selectLine(ListBox& list, int index) {
    list.setFocus();
    list.setItemIndex(index);
    if (list.OnClick) dispatch(list.OnClick);
}

bool runKeyDown(Form& form, int& key, ShiftState shift) {
    Control* target = form.focusedControl();
    KeyHandler& handler = target ? target->OnKeyDown : form.OnKeyDown;
    const bool wasShowing = form.showing();
    if (handler) dispatch([&] { handler(key, shift); });
    if (key == 0) return false;
    return !(wasShowing && !form.showing()) && form.modalResult() == mr::NotSet && form.focusedControl() == target;
}

bool controlBehaviour(Form& form, int key, ShiftState shift, const std::string& typed) {
    Control* target = form.focusedControl();
    char ch = typed.size() == 1 ? typed[0] : 0;
    if (key == vk::Tab && !shift.ctrl && !shift.alt) {
        moveFocus(form, shift.shift);
        return true;
    }
    if (ch && (shift.alt || !target || !takesCharacters(*target))) {
        // Without Alt, a Windows dialog presses a mnemonic only when the
        // focused control has no use for the character.
        if (Control* c = findAccelerator(form, ch)) {
            clickControl(*c);
            return true;
        }
        if (shift.alt) return false;
    }
    if (!target) return false;
    switch (target->kind()) {
    case ControlKind::ListBox: return listKey(static_cast<ListBox&>(*target), key, shift, typed);
    case ControlKind::Edit: return editKey(static_cast<Edit&>(*target), key, shift, typed);
    case ControlKind::Button:
        if ((key == vk::Return || key == vk::Space) && shift.none()) {
            clickControl(*target);
            return true;
        }
        return false;
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
        if (key == vk::Space && shift.none()) {
            clickControl(*target);
            return true;
        }
        return false;
    case ControlKind::Label: return false;
    }
    return false;
}

void pressKey(Form& form, int key, ShiftState shift, const std::string& typed) {
    if (runKeyDown(form, key, shift)) controlBehaviour(form, key, shift, typed);
}

}  // namespace platform
