// The Windows backend: native windows through the Win32 API in its W forms.
// Texts cross this edge through the program's own CP932 table (shown with
// "?" for what CP932 cannot map; taken in only when CP932 holds them), so
// the program is the same on every code page.
// Implements: the Windowing seam: frame sizes from AdjustWindowRectEx, form
// windows and their peers, modal loops that disable the other windows,
// thread timers (SetTimer), the common file-open dialog, drops
// (DragAcceptFiles), the screen size (GetSystemMetrics), the window finder
// (FindWindowW + SetForegroundWindow), help (WinHelpW), minimise and
// restore, and the framework's error report and warning box (MessageBoxW).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/windowing.h"

namespace platform::win32ui {

class Win32Backend : public Windowing {
public:
    // showCommand: how the program was asked to show its first window.
    Win32Backend(HINSTANCE instance, int showCommand);
    ~Win32Backend() override;

    int frameWidth(const Form& form) const override;
    int frameHeight(const Form& form) const override;
    void showForm(Form& form) override;
    void hideForm(Form& form) override;
    void destroyForm(Form& form) override;
    void runModal(Form& form) override;
    void modalOpening(Form& form) override;
    void modalClosed(Form& form, int result) override;
    void runMain(Form& form) override;
    void programEnded() override {}
    void timerChanged(Timer& timer) override;
    void timerDestroyed(Timer& timer) override;
    bool runOpenDialog(OpenDialog& dialog) override;
    void acceptDroppedFiles(Form& form, bool accept) override;

    int screenWidth() override;
    int screenHeight() override;
    bool activateWindow(const std::string& windowClass) override;
    void showHelp(const std::string& helpFile, int command) override;
    void minimizeApplication() override;
    void restoreApplication() override;
    void errorReport(const std::string& caption, const std::string& text) override;
    void warningBox(const std::string& caption, const std::string& text, const std::string& button) override;

    // A modal window is open: the others take no input, drops included.
    bool modalOpen() const { return !modal_.empty(); }

private:
    // The native window of a form, created on first need.
    HWND windowOf(Form& form);
    HWND mainWindow() const;
    // Owner of message boxes and file dialogs: the window the user works in.
    HWND activeWindow() const;
    // Pumps one message; false once the queue says quit.
    bool pumpMessage();
    void endModalFrame(Form& form);

    struct ModalFrame {
        Form* form;
        HWND previousActive;
        std::vector<HWND> disabled;
    };

    HINSTANCE instance_;
    int showCommand_;
    Form* main_ = nullptr;
    std::vector<ModalFrame> modal_;
};

}  // namespace platform::win32ui
