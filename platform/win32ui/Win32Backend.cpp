// Implements: the Windowing seam on Win32 (Win32Backend.h): form windows
// made on first showing, modal loops, thread timers and the desktop calls.
#include "platform/win32ui/Win32Backend.h"

#include <shellapi.h>

#include <map>
#include <optional>

#include "platform/cp932.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/win32ui/Dialogs.h"
#include "platform/win32ui/Dpi.h"
#include "platform/win32ui/Fonts.h"
#include "platform/win32ui/FormWindow.h"
#include "platform/win32ui/Keyboard.h"
#include "platform/win32ui/SystemLibrary.h"

namespace platform::win32ui {

namespace {

FormPeer* peerOf(const Form& form) { return static_cast<FormPeer*>(form.peer.get()); }

// Thread timers by id: SetTimer without a window calls back with the id.
std::map<UINT_PTR, Timer*>& timers() {
    static std::map<UINT_PTR, Timer*> byId;
    return byId;
}

UINT_PTR idOf(const Timer& timer) {
    for (const auto& [id, t] : timers()) {
        if (t == &timer) return id;
    }
    return 0;
}

void CALLBACK timerFired(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = timers().find(id);
    // A tick queued before its timer was stopped finds nothing.
    if (it != timers().end() && it->second->OnTimer) dispatch(it->second->OnTimer);
}

void killTimer(Timer& timer) {
    if (UINT_PTR id = idOf(timer)) {
        KillTimer(nullptr, id);
        timers().erase(id);
    }
}

}  // namespace

Win32Backend::Win32Backend(HINSTANCE instance, int showCommand) : instance_(instance), showCommand_(showCommand) {}

Win32Backend::~Win32Backend() {
    for (const auto& [id, timer] : timers()) KillTimer(nullptr, id);
    timers().clear();
    releaseFonts();
}

namespace {

// The form's window's DPI, or the screen's before the window is made.
int dpiOf(const Form& form) { return peerOf(form) ? peerOf(form)->dpi() : systemDpi(); }

}  // namespace

int Win32Backend::frameWidth(const Form& form) const {
    int dpi = dpiOf(form);
    return unscaled(outerSizeOf(form, dpi).cx, dpi) - form.clientWidth();
}
int Win32Backend::frameHeight(const Form& form) const {
    int dpi = dpiOf(form);
    return unscaled(outerSizeOf(form, dpi).cy, dpi) - form.clientHeight();
}

HWND Win32Backend::windowOf(Form& form) {
    if (!form.peer) {
        // Every other window belongs to the main window, which lives for the
        // whole run: a box first shown from a dialog outlives that dialog.
        HWND owner = main_ && main_ != &form ? mainWindow() : nullptr;
        form.peer = std::make_unique<FormPeer>(form, *this, instance_, owner);
    }
    return peerOf(form)->hwnd();
}

HWND Win32Backend::mainWindow() const { return main_ && main_->peer ? peerOf(*main_)->hwnd() : nullptr; }

HWND Win32Backend::activeWindow() const {
    HWND active = GetActiveWindow();
    if (formPeerOf(active)) return active;
    if (!modal_.empty() && modal_.back().form->peer) return peerOf(*modal_.back().form)->hwnd();
    return mainWindow();
}

void Win32Backend::showForm(Form& form) {
    bool first = !main_ && !form.modal();
    if (first) main_ = &form;
    HWND hwnd = windowOf(form);
    peerOf(form)->changed();
    ShowWindow(hwnd, first ? showCommand_ : SW_SHOW);
    SetForegroundWindow(hwnd);
    UpdateWindow(hwnd);
}

void Win32Backend::hideForm(Form& form) {
    FormPeer* peer = peerOf(form);
    if (!peer) return;
    // The owner is enabled again before the modal window goes, so that the
    // system hands the activation back to it.
    bool endsModal = !modal_.empty() && modal_.back().form == &form;
    HWND previous = endsModal ? modal_.back().previousActive : nullptr;
    if (endsModal) endModalFrame(form);
    ShowWindow(peer->hwnd(), SW_HIDE);
    if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
}

void Win32Backend::destroyForm(Form& form) {
    if (!modal_.empty() && modal_.back().form == &form) endModalFrame(form);
    if (main_ == &form) main_ = nullptr;
    form.peer.reset();
}

void Win32Backend::modalOpening(Form& form) {
    // As a modal window does: every other window of ours takes no input.
    ModalFrame frame{&form, GetActiveWindow(), {}};
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        FormPeer* peer = formPeerOf(w);
        if (peer && &peer->form() != &form && IsWindowVisible(w) && IsWindowEnabled(w)) {
            EnableWindow(w, FALSE);
            frame.disabled.push_back(w);
        }
    }
    modal_.push_back(std::move(frame));
}

void Win32Backend::modalClosed(Form& form, int) {
    if (!modal_.empty() && modal_.back().form == &form) endModalFrame(form);
}

void Win32Backend::endModalFrame(Form& form) {
    if (modal_.empty() || modal_.back().form != &form) return;
    for (HWND w : modal_.back().disabled) {
        if (IsWindow(w)) EnableWindow(w, TRUE);
    }
    modal_.pop_back();
}

bool Win32Backend::pumpMessage() {
    MSG message;
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        // Leave the quit for the loops further out.
        PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 1);
        return false;
    }
    if (!routeKeyMessage(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

void Win32Backend::runModal(Form& form) {
    while (form.modalResult() == mr::NotSet) {
        if (!pumpMessage()) {
            form.setModalResult(mr::Cancel);
            return;
        }
    }
}

void Win32Backend::runMain(Form& form) {
    main_ = &form;
    while (form.showing()) {
        if (!pumpMessage()) return;
    }
}

void Win32Backend::timerChanged(Timer& timer) {
    killTimer(timer);
    if (!timer.running()) return;
    if (UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(timer.interval()), &timerFired)) timers()[id] = &timer;
}

void Win32Backend::timerDestroyed(Timer& timer) { killTimer(timer); }

bool Win32Backend::runOpenDialog(OpenDialog& dialog) { return runFileOpenDialog(dialog, activeWindow()); }

void Win32Backend::acceptDroppedFiles(Form& form, bool accept) {
    HWND hwnd = windowOf(form);
    if (auto registerDrops = systemFunction<void WINAPI(HWND, BOOL)>(L"shell32.dll", "DragAcceptFiles"))
        registerDrops(hwnd, accept);
    peerOf(form)->acceptsDrops = accept;
}

// In defined units, as the program centres and places its forms.
int Win32Backend::screenWidth() { return unscaled(GetSystemMetrics(SM_CXSCREEN), systemDpi()); }
int Win32Backend::screenHeight() { return unscaled(GetSystemMetrics(SM_CYSCREEN), systemDpi()); }

bool Win32Backend::activateWindow(const std::string& windowClass) {
    std::optional<std::wstring> name = toWide(windowClass);
    HWND found = name ? FindWindowW(name->c_str(), nullptr) : nullptr;
    if (!found) return false;
    SetForegroundWindow(found);
    return true;
}

void Win32Backend::showHelp(const std::string& helpFile, int command) {
    // Windows has shipped no WinHelp engine for years: without the .HLP file
    // beside the program, its HTML page (same stem) opens instead.
    const std::string folder = directoryPart(host().programPath());
    std::optional<std::wstring> wideHelpFile = toWide(helpFile);
    if (wideHelpFile && host().files().exists(folder + helpFile)) {
        WinHelpW(mainWindow(), wideHelpFile->c_str(), static_cast<UINT>(command), 0);
        return;
    }
    const std::string page = folder + helpPageName(helpFile);
    if (!host().files().exists(page) || host().shellExecute({"open", page, "", folder, SW_SHOWNORMAL}) <= 32) {
        showErrorBox(activeWindow(), applicationTitle(), "ﾍﾙﾌﾟ ﾌｧｲﾙ " + page + " が見つかりません");
    }
}

void Win32Backend::minimizeApplication() {
    if (HWND main = mainWindow()) ShowWindow(main, SW_MINIMIZE);
}

void Win32Backend::restoreApplication() {
    HWND main = mainWindow();
    if (main && IsIconic(main)) ShowWindow(main, SW_RESTORE);
}

void Win32Backend::errorReport(const std::string& caption, const std::string& text) {
    showErrorBox(activeWindow(), caption, text);
}

void Win32Backend::warningBox(const std::string& caption, const std::string& text, const std::string& button) {
    showWarningBox(activeWindow(), caption, text, button);
}

}  // namespace platform::win32ui
