// The widget layer: plain objects holding a control's state and events.
// A backend may attach a native peer to a form or control; every setter
// tells the peer, which then re-reads the state it shows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Windows virtual-key codes, which every backend maps its keys to.
namespace vk {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Up = 38;
constexpr int Down = 40;
constexpr int F4 = 115;
}  // namespace vk

struct ShiftState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool none() const { return !shift && !ctrl && !alt; }
    bool shiftOnly() const { return shift && !ctrl && !alt; }
};

// The framework's modal results.
namespace mr {
constexpr int NotSet = 0;
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace mr

// The accelerator of a caption, as Windows reads it: the character after
// the first "&" ("&&" being a literal ampersand), upper-cased; 0 when none.
// Controls and menus alike.
char acceleratorOf(std::string_view caption);

class Peer {
public:
    virtual ~Peer() = default;
    virtual void changed() = 0;
};

class Form;
class DroppedFiles;

enum class ControlKind { Label, Button, Edit, ListBox, RadioButton, CheckBox };

using KeyHandler = std::function<void(int& key, ShiftState shift)>;

class Control {
public:
    Control(Form& form, ControlKind kind, std::string name, int left, int top, int width, int height, int tabOrder,
            std::string caption);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Form& form() const { return form_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int tabOrder() const { return tabOrder_; }  // -1: not a tab stop

    bool focused() const;
    bool canFocus() const;
    void setFocus();

    // acceleratorOf(caption()).
    char accelerator() const;

    KeyHandler OnKeyDown;
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;

    std::unique_ptr<Peer> peer;

protected:
    void changed();

private:
    Form& form_;
    ControlKind kind_;
    std::string name_;
    int left_, top_, width_, height_;
    int tabOrder_;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
};

class Label : public Control {
public:
    Label(Form& form, std::string name, int left, int top, int width, int height, std::string caption,
          bool centred = false);
    bool centred() const { return centred_; }
    // The control its accelerator focuses.
    Control* focusControl = nullptr;

private:
    bool centred_;
};

class Button : public Control {
public:
    Button(Form& form, std::string name, int left, int top, int width, int height, int tabOrder, std::string caption,
           int modalResult = mr::NotSet);
    int modalResult() const { return modalResult_; }
    // As a press: a modal result closes the form, then OnClick runs.
    void click();

private:
    int modalResult_;
};

class Edit : public Control {
public:
    Edit(Form& form, std::string name, int left, int top, int width, int height, int tabOrder,
         std::size_t maxLength = 0);
    const std::string& text() const { return caption(); }
    void setText(std::string text) { setCaption(std::move(text)); }
    std::size_t maxLength() const { return maxLength_; }  // bytes, 0: none
    // What typing would leave: text cut to the limit on a character boundary.
    std::string limited(std::string_view text) const;

private:
    std::size_t maxLength_;
};

class ListBox : public Control {
public:
    ListBox(Form& form, std::string name, int left, int top, int width, int height, int tabOrder, bool sorted = false,
            int itemHeight = 0);
    bool sorted() const { return sorted_; }
    int itemHeight() const { return itemHeight_; }
    const std::vector<std::string>& lines() const { return lines_; }
    int count() const { return static_cast<int>(lines_.size()); }
    // Adds a line (at its sorted place in the sorted style); returns its index.
    int add(std::string line);
    void clear();
    int itemIndex() const { return itemIndex_; }  // -1: none selected
    void setItemIndex(int index);
    // Type-to-select: the next line after the selected one, wrapping, whose
    // first byte equals c ignoring ASCII case. Returns whether one was found.
    bool selectByChar(char c);

private:
    bool sorted_;
    int itemHeight_;
    std::vector<std::string> lines_;
    int itemIndex_ = -1;
};

// Comparison of the sorted style: bytewise after upper-casing ASCII letters,
// ties broken by the raw bytes.
bool sortedLineLess(const std::string& a, const std::string& b);

class RadioButton : public Control {
public:
    RadioButton(Form& form, std::string name, int left, int top, int width, int height, int tabOrder,
                std::string caption);
    bool checked() const { return checked_; }
    // Checking one clears the other radio buttons of its form.
    void setChecked(bool checked);

private:
    bool checked_ = false;
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, std::string name, int left, int top, int width, int height, int tabOrder, std::string caption);
    bool checked() const { return checked_; }
    void setChecked(bool checked);

private:
    bool checked_ = false;
};

class MenuItem {
public:
    MenuItem(std::string name, std::string caption);
    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    MenuItem* parent() const { return parent_; }
    const std::vector<std::unique_ptr<MenuItem>>& items() const { return items_; }
    MenuItem& add(std::string name, std::string caption);
    // Visible and enabled, and so is every menu above it.
    bool usable() const;

    std::function<void()> OnClick;
    std::unique_ptr<Peer> peer;

private:
    void changed();
    std::string name_;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    MenuItem* parent_ = nullptr;
    std::vector<std::unique_ptr<MenuItem>> items_;
};

class MainMenu {
public:
    MenuItem& add(std::string name, std::string caption);
    const std::vector<std::unique_ptr<MenuItem>>& items() const { return items_; }
    MenuItem* find(const std::string& name) const;

private:
    std::vector<std::unique_ptr<MenuItem>> items_;
};

// Fires every `interval` ms while enabled and the interval is not 0.
class Timer {
public:
    Timer(Form& form, std::string name, int interval, bool enabled = true);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    const std::string& name() const { return name_; }
    int interval() const { return interval_; }
    void setInterval(int interval);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool running() const { return enabled_ && interval_ > 0; }
    std::function<void()> OnTimer;

private:
    void changed();
    std::string name_;
    int interval_;
    bool enabled_;
};

// The common file-open dialog.
class OpenDialog {
public:
    OpenDialog(Form& form, std::string name, std::string filter);
    const std::string& name() const { return name_; }
    std::string filter;   // "Text|*.PRG|All|*.*"
    int filterIndex = 1;  // 1-based, as the framework counts
    std::string initialDir;
    std::string fileName;  // preset name in, chosen full path out
    std::string title;
    // Set when the chosen path cannot be held in the program's code page:
    // execute() then returns true with an empty fileName, for the program
    // to refuse.
    bool pathLost = false;
    // Shows the dialog; true with fileName set when a file was chosen.
    bool execute();

private:
    std::string name_;
};

enum class BorderStyle { Single, Dialog, Sizeable };

class Form {
public:
    Form(std::string className, std::string caption, int clientWidth, int clientHeight, BorderStyle border,
         int fontHeight);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& className() const { return className_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    BorderStyle border() const { return border_; }
    int fontHeight() const { return fontHeight_; }
    bool hasMinimizeButton() const { return minimizeButton_; }
    void setMinimizeButton(bool on) { minimizeButton_ = on; }
    // Information boxes show up in the transcript as messages.
    bool isMessageBox() const { return messageBox_; }
    void setMessageBox(bool on) { messageBox_ = on; }

    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }
    // Outer bounds, frame and menu included (the backend knows their sizes).
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const;
    int height() const;
    void setPosition(int left, int top);
    // The native window moved: the new position, with nothing pushed back.
    void movedTo(int left, int top) {
        left_ = left;
        top_ = top;
    }
    // Places the window at the middle of the primary screen.
    void centre();

    const std::vector<Control*>& controls() const { return controls_; }
    Control* findControl(const std::string& name) const;
    MainMenu* menu() const { return menu_.get(); }
    MainMenu& createMenu();

    Control* focusedControl() const { return focused_; }
    void focus(Control* control);
    // The first control in tab order that can take the focus.
    Control* firstTabStop() const;

    bool showing() const { return showing_; }
    bool modal() const { return modal_; }
    int modalResult() const { return modalResult_; }
    void setModalResult(int result);

    // Runs FormShow and the backend's modal loop; returns the modal result.
    int showModal();
    // Shows as the main window and runs until it closes.
    void runAsMain();
    // As the close box, Alt+F4, or the program's Close.
    void close();

    std::function<void()> OnShow;
    std::function<void()> OnDestroy;
    std::function<void(bool& canClose)> OnCloseQuery;
    KeyHandler OnKeyDown;
    // A drop of files, once the form accepts them (Backend::acceptDroppedFiles).
    std::function<void(DroppedFiles& drop)> OnDropFiles;

    std::unique_ptr<Peer> peer;

    // Called by the widgets' constructors.
    void registerControl(Control& control) { controls_.push_back(&control); }

    // Destruction runs FormDestroy; a derived form calls this first in its
    // destructor so that the handler still sees its members.
    void destroy();

private:
    void changed();
    std::string className_;
    std::string caption_;
    int clientWidth_, clientHeight_;
    BorderStyle border_;
    int fontHeight_;
    bool minimizeButton_ = false;
    bool messageBox_ = false;
    int left_ = 0, top_ = 0;
    std::vector<Control*> controls_;
    std::unique_ptr<MainMenu> menu_;
    Control* focused_ = nullptr;
    bool showing_ = false;
    bool modal_ = false;
    bool destroyed_ = false;
    int modalResult_ = mr::NotSet;
};

}  // namespace platform
