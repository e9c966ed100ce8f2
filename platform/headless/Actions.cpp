// The driver's actions, one verb a row, and the dumps they print.
#include "platform/headless/HeadlessBackend.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <initializer_list>

#include "platform/headless/Events.h"
#include "platform/headless/Transcript.h"
#include "platform/input.h"
#include "platform/text.h"

namespace platform::headless {

namespace {

std::vector<std::string> words(const std::string& s) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < s.size()) {
        std::size_t end = s.find(' ', pos);
        if (end == std::string::npos) end = s.size();
        if (end > pos) out.push_back(s.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

std::optional<long long> parseCount(const std::string& s) {
    if (s.empty() || s.size() > 12) return std::nullopt;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

struct KeyPress {
    int key = 0;
    std::string typed;  // CP932
};

std::optional<KeyPress> parseKey(const std::string& name) {
    static const struct {
        const char* name;
        int key;
        const char* typed;
    } named[] = {{"Enter", vk::Return, ""}, {"Esc", vk::Escape, ""}, {"Back", vk::Back, ""}, {"Space", vk::Space, " "},
                 {"Up", vk::Up, ""},        {"Down", vk::Down, ""},  {"F4", vk::F4, ""},     {"Tab", vk::Tab, ""}};
    for (const auto& n : named) {
        if (name == n.name) return KeyPress{n.key, n.typed};
    }
    std::optional<std::string> cp932 = decodeText(name);
    if (!cp932 || cp932->empty() || charLength(*cp932, 0) != cp932->size()) return std::nullopt;
    KeyPress press;
    press.typed = *cp932;
    // A double-byte character comes from the input method.
    press.key = cp932->size() == 2 ? 0xE5 : virtualKeyForChar((*cp932)[0]);
    if (press.key == 0 && static_cast<unsigned char>((*cp932)[0]) < 0x80) return std::nullopt;
    if (press.key == 0) press.key = 0xE5;
    return press;
}

}  // namespace

// ---------------------------------------------------------------- actions

namespace {

// One action line taken apart: words[0] is the verb.
struct Action {
    const std::string& text;
    std::vector<std::string> words;
    Form& form;  // the topmost form

    // Everything after the verb's blank, as written.
    std::string rest() const { return text.substr(text.find(' ') + 1); }
    // The control named by the first argument, if it is of one of `kinds`
    // and the user could reach it.
    Control* usable(std::initializer_list<ControlKind> kinds) const {
        Control* c = form.findControl(words[1]);
        if (!c || !c->visible() || !c->enabled()) return nullptr;
        return std::find(kinds.begin(), kinds.end(), c->kind()) != kinds.end() ? c : nullptr;
    }
};

constexpr std::size_t anyCount = SIZE_MAX;

struct Verb {
    const char* name;
    std::size_t minArgs, maxArgs;                                 // words after the verb
    bool (*run)(HeadlessBackend& backend, const Action& action);  // false: refused, nothing changed
};

}  // namespace

void HeadlessBackend::perform(const std::string& text) {
    if (text.empty() || text[0] == '#') return;
    if (!act(text)) line("refused " + quoteUtf8(text));
}

bool HeadlessBackend::act(const std::string& text) {
    using K = ControlKind;
    static const Verb verbs[] = {
        {"click", 1, 1,
         [](HeadlessBackend&, const Action& a) {
             Control* c = a.usable({K::Button, K::RadioButton, K::CheckBox});
             if (!c) return false;
             clickControl(*c);
             return true;
         }},
        {"dblclick", 1, 1,
         [](HeadlessBackend&, const Action& a) {
             Control* c = a.usable({K::ListBox});
             if (!c) return false;
             c->setFocus();
             fire(c->OnDblClick);
             return true;
         }},
        {"select", 2, 2,
         [](HeadlessBackend&, const Action& a) {
             auto* list = static_cast<ListBox*>(a.usable({K::ListBox}));
             std::optional<long long> index = parseCount(a.words[2]);
             if (!list || !index || *index >= list->count()) return false;
             selectLine(*list, static_cast<int>(*index));
             return true;
         }},
        {"menu", 1, 1,
         [](HeadlessBackend& b, const Action& a) {
             if (!b.modals_.empty() || !a.form.menu()) return false;
             MenuItem* item = a.form.menu()->find(a.words[1]);
             if (!item || !item->parent() || !item->usable()) return false;
             fire(item->OnClick);
             return true;
         }},
        {"type", 1, anyCount,
         [](HeadlessBackend&, const Action& a) {
             auto* edit = static_cast<Edit*>(a.usable({K::Edit}));
             std::size_t start = a.text.find(' ', a.text.find(' ') + 1);
             if (!edit || start == std::string::npos) return false;
             std::optional<std::string> value = decodeText(a.text.substr(start + 1));
             if (!value) return false;
             edit->setFocus();
             edit->setText(edit->limited(*value));
             return true;
         }},
        {"key", 2, anyCount,
         [](HeadlessBackend&, const Action& a) {
             Control* c = a.form.findControl(a.words[1]);
             std::optional<KeyPress> press = parseKey(a.words[2]);
             if (!c || !c->canFocus() || !press) return false;
             ShiftState shift;
             for (std::size_t i = 3; i < a.words.size(); ++i) {
                 if (a.words[i] == "shift") shift.shift = true;
                 else if (a.words[i] == "ctrl") shift.ctrl = true;
                 else if (a.words[i] == "alt") shift.alt = true;
                 else return false;
             }
             c->setFocus();
             pressKey(a.form, press->key, shift, press->typed);
             return true;
         }},
        {"drop", 1, anyCount,
         [](HeadlessBackend& b, const Action& a) {
             if (!b.modals_.empty()) return false;
             std::vector<std::string> paths;
             std::string rest = a.rest();
             std::size_t pos = 0;
             while (true) {
                 std::size_t sep = rest.find(" | ", pos);
                 std::optional<std::string> path =
                     decodeText(rest.substr(pos, sep == std::string::npos ? sep : sep - pos));
                 if (!path || path->empty()) return false;
                 paths.push_back(*path);
                 if (sep == std::string::npos) break;
                 pos = sep + 3;
             }
             if (b.dropTargets_.count(&a.form)) {
                 PathDrop drop(std::move(paths));
                 fire(a.form.OnDropFiles, drop);
             }
             return true;
         }},
        {"tick", 1, 1,
         [](HeadlessBackend& b, const Action& a) {
             std::optional<long long> ms = parseCount(a.words[1]);
             if (!ms) return false;
             b.tickEnd_ = b.now_ + *ms;
             return true;  // the loops run the time
         }},
        {"closebox", 0, 0,
         [](HeadlessBackend&, const Action& a) {
             a.form.close();
             return true;
         }},
        {"shellresult", 1, 1,
         [](HeadlessBackend& b, const Action& a) {
             std::optional<int> n = parseDecimal(a.words[1]);
             if (!n) return false;
             b.shellResults_.push_back(*n);
             return true;
         }},
        {"opendialog", 1, anyCount,
         [](HeadlessBackend& b, const Action& a) {
             std::string rest = a.rest();
             if (rest == "cancel") {
                 b.dialogAnswers_.push_back(std::nullopt);
                 return true;
             }
             std::optional<std::string> path = decodeText(rest);
             if (!path || path->empty()) return false;
             b.dialogAnswers_.push_back(*path);
             return true;
         }},
        {"dump", 0, 1,
         [](HeadlessBackend& b, const Action& a) {
             if (a.words.size() == 1) {
                 b.dumpForm(a.form);
                 return true;
             }
             // "menus" is the driver's word, not a control's name.
             if (a.words[1] == "menus") {
                 if (!b.main_ || !b.main_->menu()) return false;
                 b.dumpMenus(*b.main_->menu());
                 return true;
             }
             const Control* c = a.form.findControl(a.words[1]);
             if (!c) return false;
             b.dumpControl(*c);
             return true;
         }},
    };

    Action action{text, words(text), topmost()};
    if (action.words.empty()) return false;
    std::size_t args = action.words.size() - 1;
    for (const Verb& verb : verbs) {
        if (action.words[0] != verb.name) continue;
        return args >= verb.minArgs && args <= verb.maxArgs && verb.run(*this, action);
    }
    return false;
}

void HeadlessBackend::dumpForm(const Form& form) {
    line("form " + form.className() + " " + quote(form.caption()) + " " + std::to_string(form.left()) + " " +
         std::to_string(form.top()) + " " + std::to_string(form.width()) + " " + std::to_string(form.height()));
    for (const Control* c : form.controls()) dumpControl(*c);
    if (form.menu()) dumpMenus(*form.menu());
}

void HeadlessBackend::dumpControl(const Control& c) {
    bool list = c.kind() == ControlKind::ListBox;
    std::string text = c.name() + " " + quote(list ? "" : c.caption()) + (c.enabled() ? " enabled" : " disabled") +
                       (c.visible() ? " visible" : " hidden") + (c.focused() ? " focused" : "");
    if (c.kind() == ControlKind::CheckBox) {
        text += static_cast<const CheckBox&>(c).checked() ? " checked" : " unchecked";
    } else if (c.kind() == ControlKind::RadioButton) {
        text += static_cast<const RadioButton&>(c).checked() ? " checked" : " unchecked";
    }
    if (!list) {
        line(text);
        return;
    }
    const auto& lb = static_cast<const ListBox&>(c);
    line(text + " lines " + std::to_string(lb.count()) + " selected " + std::to_string(lb.itemIndex()));
    for (int i = 0; i < lb.count(); ++i) line("line " + std::to_string(i) + " " + quote(lb.lines()[i]));
}

void HeadlessBackend::dumpMenus(const MainMenu& menu) {
    auto menuLine = [&](const MenuItem& m) {
        line(m.name() + " " + quote(m.caption()) + (m.enabled() ? " enabled" : " disabled") +
             (m.visible() ? " visible" : " hidden"));
    };
    for (const auto& top : menu.items()) {
        menuLine(*top);
        for (const auto& item : top->items()) menuLine(*item);
    }
}

}  // namespace platform::headless
