#include "platform/headless/HeadlessBackend.h"

#include <algorithm>
#include <climits>

#include "platform/headless/Events.h"
#include "platform/headless/Transcript.h"
#include "platform/text.h"

namespace platform::headless {

HeadlessBackend::HeadlessBackend(Options options, Files& hostFiles, std::istream& script, std::ostream& transcript)
    : options_(std::move(options)), script_(script), out_(transcript), files_(hostFiles) {}

void HeadlessBackend::line(const std::string& text) { out_ << text << '\n' << std::flush; }

Form& HeadlessBackend::topmost() const { return modals_.empty() ? *main_ : *modals_.back(); }

void HeadlessBackend::destroyForm(Form& form) {
    dropTargets_.erase(&form);
    std::erase(modals_, &form);
    if (main_ == &form) main_ = nullptr;
}

// ---------------------------------------------------------------- loops

void HeadlessBackend::runMain(Form& form) {
    main_ = &form;
    while (form.showing()) {
        if (tickPending()) {
            advance(nullptr);
        } else if (!step()) {
            form.close();
            break;  // nothing more can close it
        }
    }
}

void HeadlessBackend::runModal(Form& form) {
    modals_.push_back(&form);
    while (form.modalResult() == mr::NotSet) {
        if (inputEnded_) {
            form.close();
            if (form.modalResult() == mr::NotSet) form.setModalResult(mr::Cancel);
        } else if (tickPending()) {
            advance(&form);
        } else {
            step();
        }
    }
    std::erase(modals_, &form);
}

bool HeadlessBackend::step() {
    if (inputEnded_) return false;
    std::string text;
    if (!std::getline(script_, text)) {
        inputEnded_ = true;
        return false;
    }
    if (!text.empty() && text.back() == '\r') text.pop_back();
    perform(text);
    return true;
}

void HeadlessBackend::modalOpening(Form& form) {
    if (!form.isMessageBox()) {
        line("open " + form.className() + " " + quote(form.caption()));
        return;
    }
    std::string text = "message " + form.className();
    Control* label = form.findControl("Label1");
    text += " " + quote(label ? label->caption() : "");
    for (Control* c : form.controls()) {
        if (c->kind() == ControlKind::Button) text += " " + quote(c->caption());
    }
    line(text);
}

void HeadlessBackend::modalClosed(Form& form, int result) {
    line("close " + form.className() + " " + std::to_string(result));
}

void HeadlessBackend::programEnded() {
    if (!exited_) line("exit");
    exited_ = true;
}

// ---------------------------------------------------------------- time

void HeadlessBackend::timerChanged(Timer& timer) {
    if (!timer.running()) {
        timers_.erase(&timer);
        return;
    }
    timers_[&timer] = {now_ + timer.interval(), timerOrder_++};
}

void HeadlessBackend::timerDestroyed(Timer& timer) { timers_.erase(&timer); }

void HeadlessBackend::advance(Form* stopWhenClosed) {
    while (true) {
        if (stopWhenClosed && stopWhenClosed->modalResult() != mr::NotSet) return;
        Timer* due = nullptr;
        TimerState best{LLONG_MAX, LLONG_MAX};
        for (auto& [timer, state] : timers_) {
            if (state.next > tickEnd_) continue;
            if (state.next < best.next || (state.next == best.next && state.order < best.order)) {
                due = timer;
                best = state;
            }
        }
        if (!due) break;
        now_ = best.next;
        timers_[due].next += due->interval();
        fire(due->OnTimer);
    }
    now_ = tickEnd_;
}

// ---------------------------------------------------------------- services

bool HeadlessBackend::runOpenDialog(OpenDialog& dialog) {
    std::string prefix = "opendialog " + quote(dialog.fileName) + " " + quote(dialog.initialDir) + " -> ";
    std::optional<std::string> answer;
    if (!dialogAnswers_.empty()) {
        answer = dialogAnswers_.front();
        dialogAnswers_.pop_front();
    }
    if (!answer) {
        line(prefix + "cancel");
        return false;
    }
    dialog.fileName = *answer;
    line(prefix + quote(*answer));
    return true;
}

void HeadlessBackend::acceptDroppedFiles(Form& form, bool accept) {
    if (accept) dropTargets_.insert(&form);
    else dropTargets_.erase(&form);
}

int HeadlessBackend::shellExecute(const ShellRequest& r) {
    int result = 42;
    if (!shellResults_.empty()) {
        result = shellResults_.front();
        shellResults_.pop_front();
    }
    line("shell " + quote(r.operation) + " " + quote(r.file) + " " + quote(r.parameters) + " " + quote(r.directory) +
         " " + std::to_string(r.show) + " -> " + std::to_string(result));
    return result;
}

bool HeadlessBackend::activateWindow(const std::string& windowClass) {
    if (!options_.windows.count(windowClass)) return false;
    line("foreground " + windowClass);
    return true;
}

void HeadlessBackend::showHelp(const std::string& helpFile, int command) {
    line("help " + quote(helpFile) + " " + std::to_string(command));
}

std::optional<std::string> HeadlessBackend::environmentVariable(const std::string& name) {
    auto it = options_.environment.find(name);
    if (it == options_.environment.end()) return std::nullopt;
    return it->second;
}

std::string HeadlessBackend::programNameForItems(const std::string& definedName) {
#ifdef _WIN32
    return definedName;
#else
    (void)definedName;
    return fileNamePart(options_.programPath);
#endif
}

void HeadlessBackend::minimizeApplication() { line("minimize"); }
void HeadlessBackend::restoreApplication() { line("restore"); }

void HeadlessBackend::errorReport(const std::string& caption, const std::string& text) {
    line("error " + quote(caption) + " " + quote(text));
}

void HeadlessBackend::warningBox(const std::string& caption, const std::string& text, const std::string& button) {
    line("warning " + quote(caption) + " " + quote(text) + " " + quote(button));
}

}  // namespace platform::headless
