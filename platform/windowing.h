// Windowing: what the program asks of the toolkit that shows its forms. One
// implementation per toolkit (platform/headless, platform/fltk,
// platform/win32ui).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

class Form;
class Timer;
class OpenDialog;

// One drop of files on a window; released once handled.
class DroppedFiles {
public:
    virtual ~DroppedFiles() = default;
    virtual int count() const = 0;
    // The path at index, at most bufferSize - 1 bytes, as DragQueryFile gives it.
    virtual std::string query(int index, std::size_t bufferSize) const = 0;
    virtual void finish() = 0;
};

// A drop of a list of paths already in CP932.
class PathDrop : public DroppedFiles {
public:
    explicit PathDrop(std::vector<std::string> paths) : paths_(std::move(paths)) {}
    int count() const override { return static_cast<int>(paths_.size()); }
    std::string query(int index, std::size_t bufferSize) const override;
    // Nothing to release: the paths were copied out of the native drop.
    void finish() override {}

private:
    std::vector<std::string> paths_;
};

// The window class F4 looks for after the companion's; on desktops without
// it, the window finder takes it for the desktop's file managers.
inline constexpr const char* kFileExplorerClass = "ExploreWClass";

class Windowing {
public:
    virtual ~Windowing() = default;

    // --- windows
    // Extra width and height of the frame (and menu bar) around the client area.
    virtual int frameWidth(const Form& form) const = 0;
    virtual int frameHeight(const Form& form) const = 0;
    virtual void showForm(Form& form) = 0;
    virtual void hideForm(Form& form) = 0;
    virtual void destroyForm(Form& form) = 0;
    // Runs until form.modalResult() is set; FormShow has run already.
    virtual void runModal(Form& form) = 0;
    // Announces a modal showing before FormShow, and its end.
    virtual void modalOpening(Form& form) = 0;
    virtual void modalClosed(Form& form, int result) = 0;
    // Runs until the main window closes.
    virtual void runMain(Form& form) = 0;
    virtual void programEnded() = 0;
    virtual void timerChanged(Timer& timer) = 0;
    virtual void timerDestroyed(Timer& timer) = 0;
    virtual bool runOpenDialog(OpenDialog& dialog) = 0;
    virtual void acceptDroppedFiles(Form& form, bool accept) = 0;

    // --- the desktop
    virtual int screenWidth() = 0;
    virtual int screenHeight() = 0;
    // Brings a top-level window of the class to the front; false when none.
    virtual bool activateWindow(const std::string& windowClass) = 0;
    virtual void showHelp(const std::string& helpFile, int command) = 0;
    virtual void minimizeApplication() = 0;
    virtual void restoreApplication() = 0;
    virtual void errorReport(const std::string& caption, const std::string& text) = 0;
    virtual void warningBox(const std::string& caption, const std::string& text, const std::string& button) = 0;
    // The program's language mode changed (or was set at start): a toolkit
    // that draws boxes of its own gives them the texts of that language.
    virtual void languageChanged(bool /*japanese*/) {}
};

Windowing& windowing();
void setWindowing(Windowing* windowing);

// The application title, shown as the framework's report caption.
const std::string& applicationTitle();
void setApplicationTitle(std::string title);

// Runs a handler; an error escaping it ends the handler and shows the
// framework's error report, and the program goes on.
void dispatch(const std::function<void()>& handler);

// The framework's warning box (caption "警告", one button "はい(&Y)").
void showWarning(const std::string& text);

}  // namespace platform
