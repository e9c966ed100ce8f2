// The headless backend: no screen. Forms are acted on by a script read line
// by line, and every visible event is written to a transcript.
// Implements: windows without frames, modal loops driven by the script,
// virtual time for timers, shell execute and file dialogs answered from
// queues, windows found among those named on the command line, the host's
// real files, and the framework's reports as transcript lines.
#pragma once

#include <deque>
#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/widgets.h"
#include "platform/windowing.h"

namespace platform::headless {

struct Options {
    int screenWidth = 1024;
    int screenHeight = 768;
    std::map<std::string, std::string> environment;  // CP932
    std::set<std::string> windows;
    std::string programPath;              // CP932, absolute
    std::vector<std::string> parameters;  // CP932
};

class HeadlessBackend : public Windowing, public Host {
public:
    // `hostFiles`: the host's files service, since the program works on real files.
    HeadlessBackend(Options options, Files& hostFiles, std::istream& script, std::ostream& transcript);

    int frameWidth(const Form&) const override { return 0; }
    int frameHeight(const Form&) const override { return 0; }
    void showForm(Form&) override {}
    void hideForm(Form&) override {}
    void destroyForm(Form& form) override;
    void runModal(Form& form) override;
    void modalOpening(Form& form) override;
    void modalClosed(Form& form, int result) override;
    void runMain(Form& form) override;
    void programEnded() override;
    void timerChanged(Timer& timer) override;
    void timerDestroyed(Timer& timer) override;
    bool runOpenDialog(OpenDialog& dialog) override;
    void acceptDroppedFiles(Form& form, bool accept) override;

    int shellExecute(const ShellRequest& request) override;
    int screenWidth() override { return options_.screenWidth; }
    int screenHeight() override { return options_.screenHeight; }
    bool activateWindow(const std::string& windowClass) override;
    void showHelp(const std::string& helpFile, int command) override;
    std::optional<std::string> environmentVariable(const std::string& name) override;
    std::string programPath() override { return options_.programPath; }
    std::vector<std::string> programParameters() override { return options_.parameters; }
    // The headless backend follows its host.
    std::string programNameForItems(const std::string& definedName) override;
    void minimizeApplication() override;
    void restoreApplication() override;
    void errorReport(const std::string& caption, const std::string& text) override;
    void warningBox(const std::string& caption, const std::string& text, const std::string& button) override;
    Files& files() override { return files_; }

private:
    Form& topmost() const;
    // Reads and performs one action; false when the script has ended.
    bool step();
    void perform(const std::string& line);
    bool act(const std::string& line);
    void line(const std::string& text);
    // The dump lines; a narrow dump prints the same lines as the whole one.
    void dumpForm(const Form& form);
    void dumpControl(const Control& control);
    void dumpMenus(const MainMenu& menu);
    // Fires due timers up to the pending tick's end; stops early when
    // `stopWhenClosed` closes.
    void advance(Form* stopWhenClosed);
    bool tickPending() const { return now_ < tickEnd_; }

    Options options_;
    std::istream& script_;
    std::ostream& out_;
    Files& files_;

    Form* main_ = nullptr;
    std::vector<Form*> modals_;
    bool inputEnded_ = false;
    bool exited_ = false;

    long long now_ = 0;
    long long tickEnd_ = 0;
    struct TimerState {
        long long next;
        long long order;
    };
    std::map<Timer*, TimerState> timers_;
    long long timerOrder_ = 0;

    std::deque<int> shellResults_;
    std::deque<std::optional<std::string>> dialogAnswers_;
    std::set<Form*> dropTargets_;
};

}  // namespace platform::headless
