// Implements: form windows (FormWindow.h): one window class per form class
// name, the border styles, creation of the controls and the menu bar, the
// window procedure (close box, commands, owner-drawn labels, focus on
// activation, moves, dropped files).
#include "platform/win32ui/FormWindow.h"

#include <shellapi.h>

#include <map>
#include <set>
#include <string>

#include "platform/cp932.h"
#include "platform/text.h"
#include "platform/win32ui/Controls.h"
#include "platform/win32ui/Dpi.h"
#include "platform/win32ui/Fonts.h"
#include "platform/win32ui/MenuBar.h"
#include "platform/win32ui/SystemLibrary.h"
#include "platform/win32ui/Win32Backend.h"
#include "platform/windowing.h"

namespace platform::win32ui {

namespace {

std::map<HWND, FormPeer*>& windows() {
    static std::map<HWND, FormPeer*> all;
    return all;
}

// Registers the window class of a form once: other programs find our
// windows by these names.
// The window class names are the forms' names, which are ASCII.
std::wstring wideName(const std::string& name) { return toWide(name).value_or(L""); }

void registerClass(HINSTANCE instance, const std::string& name) {
    static std::set<std::string> registered;
    if (registered.count(name)) return;
    const std::wstring className = wideName(name);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FormPeer::windowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className.c_str();
    if (RegisterClassExW(&wc)) registered.insert(name);
}

using QueryFunction = UINT WINAPI(HDROP, UINT, LPWSTR, UINT);
UINT dragQueryFile(HDROP drop, UINT index, LPWSTR buffer, UINT size) {
    static auto query = systemFunction<QueryFunction>(L"shell32.dll", "DragQueryFileW");
    return query ? query(drop, index, buffer, size) : 0;
}

}  // namespace

NativeDrop::~NativeDrop() { finish(); }

int NativeDrop::count() const { return static_cast<int>(dragQueryFile(drop_, 0xFFFFFFFF, nullptr, 0)); }

std::string NativeDrop::query(int index, std::size_t bufferSize) const {
    if (index < 0 || index >= count() || bufferSize == 0) return "";
    std::wstring path(dragQueryFile(drop_, static_cast<UINT>(index), nullptr, 0) + 1, L'\0');
    path.resize(dragQueryFile(drop_, static_cast<UINT>(index), path.data(), static_cast<UINT>(path.size())));
    // A path CP932 cannot hold arrives empty, to be refused; a longer one is
    // cut to the buffer, as DragQueryFile cuts it.
    return truncateBytes(fromWide(path).value_or(""), bufferSize - 1);
}

void NativeDrop::finish() {
    static auto release = systemFunction<void WINAPI(HDROP)>(L"shell32.dll", "DragFinish");
    if (drop_ && release) release(drop_);
    drop_ = nullptr;
}

FrameStyle frameStyleOf(const Form& form) {
    DWORD minimize = form.hasMinimizeButton() ? WS_MINIMIZEBOX : 0;
    switch (form.border()) {
    case BorderStyle::Single: return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | minimize, 0};
    case BorderStyle::Dialog: return {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME};
    case BorderStyle::Sizeable:
        return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | minimize, 0};
    }
    return {WS_OVERLAPPEDWINDOW, 0};
}

SIZE outerSizeOf(const Form& form, int dpi) {
    SIZE client{scaled(form.clientWidth(), dpi), scaled(form.clientHeight(), dpi)};
    if (form.border() == BorderStyle::Sizeable) return client;
    FrameStyle fs = frameStyleOf(form);
    RECT r{0, 0, client.cx, client.cy};
    // The frame of that DPI where the system can tell it (Windows 10 1607
    // and later); else the system's, which is the screen's.
    using ForDpi = BOOL WINAPI(LPRECT, DWORD, BOOL, DWORD, UINT);
    static auto adjustForDpi = systemFunction<ForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (!adjustForDpi || !adjustForDpi(&r, fs.style, form.menu() != nullptr, fs.exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, fs.style, form.menu() != nullptr, fs.exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

FormPeer::FormPeer(Form& form, Win32Backend& backend, HINSTANCE instance, HWND owner)
    : form_(form), backend_(backend), dpi_(systemDpi()) {
    registerClass(instance, form.className());
    FrameStyle fs = frameStyleOf(form);
    SIZE size = outerSizeOf(form, dpi_);
    hwnd_ = CreateWindowExW(fs.exStyle, wideName(form.className()).c_str(), toWideDisplay(form.caption()).c_str(),
                            fs.style | WS_CLIPCHILDREN, scaled(form.left(), dpi_), scaled(form.top(), dpi_), size.cx,
                            size.cy, owner, nullptr, instance, this);
    windows()[hwnd_] = this;
    if (form.menu()) menuBar_ = std::make_unique<MenuBar>(*form.menu(), hwnd_);
    HFONT font = guiFont(form.fontHeight(), dpi_);
    int id = 1;
    for (Control* c : form.controls()) c->peer = createControlPeer(*c, hwnd_, font, id++);
    // The window may sit on a monitor of another DPI than the screen's.
    applyDpi(windowDpi(hwnd_), nullptr);
    for (Control* c : form.controls()) c->peer->changed();
    changed();
}

void FormPeer::applyDpi(int dpi, const RECT* suggested) {
    if (!hwnd_ || dpi <= 0) return;
    // First, so that the move this makes reads back in defined units.
    dpi_ = dpi;
    if (suggested) {
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SIZE size = outerSizeOf(form_, dpi);
        SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The same pixels are another position in defined units: a window that
    // did not move gets no WM_MOVE to say so.
    if (!IsIconic(hwnd_) && IsWindowVisible(hwnd_)) {
        RECT r;
        GetWindowRect(hwnd_, &r);
        form_.movedTo(unscaled(r.left, dpi_), unscaled(r.top, dpi_));
    }
    HFONT font = guiFont(form_.fontHeight(), dpi);
    for (Control* c : form_.controls()) {
        if (c->peer) static_cast<ControlPeer*>(c->peer.get())->rescale(dpi, font);
    }
    if (menuBar_) DrawMenuBar(hwnd_);
}

FormPeer::~FormPeer() {
    // The controls' peers stay with the controls (some may be gone already,
    // with their peers); the window takes their child windows along.
    menuBar_.reset();
    if (!hwnd_) return;
    windows().erase(hwnd_);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

void FormPeer::changed() {
    if (!hwnd_) return;
    std::wstring caption(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(hwnd_, caption.data(), static_cast<int>(caption.size()))));
    std::wstring shown = toWideDisplay(form_.caption());
    if (caption != shown) SetWindowTextW(hwnd_, shown.c_str());
    RECT r;
    GetWindowRect(hwnd_, &r);
    // A position that reads back as the form's is left as it is: defined
    // units are coarser than pixels.
    if (!IsIconic(hwnd_) && (unscaled(r.left, dpi_) != form_.left() || unscaled(r.top, dpi_) != form_.top()))
        SetWindowPos(hwnd_, nullptr, scaled(form_.left(), dpi_), scaled(form_.top(), dpi_), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormPeer::syncFocusFromNative() {
    HWND focus = GetFocus();
    if (focus == hwnd_) {
        form_.focus(nullptr);
    } else if (ControlPeer* c = controlPeerOf(focus); c && GetParent(focus) == hwnd_) {
        if (!c->control().focused()) form_.focus(&c->control());
    }
}

void FormPeer::restoreFocus() {
    Control* focused = form_.focusedControl();
    HWND target = focused && focused->peer ? static_cast<ControlPeer*>(focused->peer.get())->hwnd() : nullptr;
    if (!target) target = hwnd_;
    if (GetFocus() != target) SetFocus(target);
}

void FormPeer::dropped(HDROP drop) {
    NativeDrop files(drop);
    // While a modal window is open the other windows take nothing.
    if (acceptsDrops && form_.OnDropFiles && !backend_.modalOpen()) form_.OnDropFiles(files);
}

bool FormPeer::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_CLOSE:
        // The close box (or Alt+F4): the program decides what closing means.
        form_.close();
        return true;
    case WM_COMMAND:
        if (lParam) {
            if (ControlPeer* c = controlPeerOf(reinterpret_cast<HWND>(lParam))) c->command(HIWORD(wParam));
        } else if (HIWORD(wParam) == 0 && menuBar_) {
            menuBar_->command(LOWORD(wParam));
        }
        return true;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (ControlPeer* c = controlPeerOf(item->hwndItem)) c->draw(*item);
        result = TRUE;
        return true;
    }
    case WM_ACTIVATE:
        // As a dialog does: the focus leaves with the window and comes back
        // to the control that had it.
        if (LOWORD(wParam) == WA_INACTIVE) syncFocusFromNative();
        else if (!HIWORD(wParam)) restoreFocus();
        return true;
    case WM_MOVE:
        if (!IsIconic(hwnd_) && IsWindowVisible(hwnd_)) {
            RECT r;
            GetWindowRect(hwnd_, &r);
            form_.movedTo(unscaled(r.left, dpi_), unscaled(r.top, dpi_));
        }
        return false;
    case WM_DPICHANGED:
        // Moved to a monitor of another scaling, or the scaling changed.
        applyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return true;
    case WM_DROPFILES: dropped(reinterpret_cast<HDROP>(wParam)); return true;
    default: return false;
    }
}

LRESULT CALLBACK FormPeer::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FormPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // Messages sent during CreateWindowEx come before hwnd_ is known.
    if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Gone with its owner, the main window, before the form itself.
        windows().erase(hwnd);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    bool handled = false;
    // No error crosses the window procedure: it ends as the framework's report.
    dispatch([&] { handled = self->handle(message, wParam, lParam, result); });
    return handled ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

FormPeer* formPeerOf(HWND hwnd) {
    if (!hwnd) return nullptr;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    auto it = windows().find(root ? root : hwnd);
    return it == windows().end() ? nullptr : it->second;
}

}  // namespace platform::win32ui
