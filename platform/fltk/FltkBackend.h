// The Linux desktop backend: FLTK 1.3 on X11 and the POSIX services.
// Implements: native peers for forms, every control kind and the menu bar;
// keys mapped to Windows virtual-key codes and routed through the shared
// input rules; modal loops; timers; the file-open dialog; drops; shell
// execute, window finder, help, environment, program path; the framework's
// error report and warning box; FLTK's own texts in the language mode;
// minimise and restore. The host services are the POSIX ones
// (platform/posix).
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/widgets.h"
#include "platform/windowing.h"

namespace platform::fltk {

class FltkBackend : public Windowing {
public:
    FltkBackend();
    ~FltkBackend() override;

    int frameWidth(const Form& form) const override;
    int frameHeight(const Form& form) const override;
    void showForm(Form& form) override;
    void hideForm(Form& form) override;
    void destroyForm(Form& form) override;
    void runModal(Form& form) override;
    void modalOpening(Form&) override {}
    void modalClosed(Form&, int) override {}
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
    void languageChanged(bool japanese) override;

private:
    struct HelpOpener {
        pid_t pid;
        std::string page;
    };
    static constexpr double kHelpWatchSeconds = 0.25;
    static void watchHelpOpeners(void* backend);
    void helpNotOpened(const std::string& page);
    void tellHelp(const std::string& japanese, const std::string& english);

    Form* main_ = nullptr;
    // Openers of help pages still running.
    std::vector<HelpOpener> helpOpeners_;
    // Until the program tells, FLTK's own (English) texts.
    bool japanese_ = false;
};

// Font sizes of the program's "System" heights.
int fontSizeFor(int systemHeight);

}  // namespace platform::fltk
