// Implements: the system's dialogs (Dialogs.h). MessageBoxW cannot name its
// buttons, so the warning box renames its one button just before it shows,
// from a CBT hook on this thread.
#include "platform/win32ui/Dialogs.h"

#include <commdlg.h>

#include <optional>

#include "platform/cp932.h"
#include "platform/win32ui/SystemLibrary.h"

namespace platform::win32ui {

namespace {

// "Text|*.PRG|All|*.*" as the dialog takes it: NUL-separated pairs ending
// in two NULs.
std::wstring filterPairs(const std::string& filter) {
    std::wstring pairs = toWideDisplay(filter);
    for (wchar_t& c : pairs) {
        if (c == L'|') c = L'\0';
    }
    pairs.push_back(L'\0');
    return pairs;  // c_str() adds the second
}

HHOOK buttonHook = nullptr;
const std::string* buttonText = nullptr;

LRESULT CALLBACK renameButton(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = buttonHook;
    if (code == HCBT_ACTIVATE && buttonText) {
        auto box = reinterpret_cast<HWND>(wParam);
        wchar_t name[16] = {};
        GetClassNameW(box, name, 16);
        if (std::wstring(name) == L"#32770") {
            if (HWND ok = GetDlgItem(box, IDOK)) SetWindowTextW(ok, toWideDisplay(*buttonText).c_str());
            UnhookWindowsHookEx(buttonHook);
            buttonHook = nullptr;
            buttonText = nullptr;
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

bool runFileOpenDialog(OpenDialog& dialog, HWND owner) {
    const std::wstring filter = filterPairs(dialog.filter);
    // Room for any path the W calls take, not only MAX_PATH.
    std::wstring file = toWide(dialog.fileName).value_or(L"");
    file.resize(32768, L'\0');
    const std::optional<std::wstring> folder = toWide(dialog.initialDir);
    const std::wstring title = toWideDisplay(dialog.title);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(dialog.filterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder && !folder->empty() ? folder->c_str() : nullptr;
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    auto open = systemFunction<BOOL WINAPI(OPENFILENAMEW*)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!open || !open(&ofn)) return false;
    // A path CP932 cannot hold arrives empty, for the program to refuse.
    std::optional<std::string> chosen = fromWide(file.c_str());
    dialog.pathLost = !chosen;
    dialog.fileName = chosen.value_or("");
    dialog.filterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

void showErrorBox(HWND owner, const std::string& caption, const std::string& text) {
    MessageBoxW(owner, toWideDisplay(text).c_str(), toWideDisplay(caption).c_str(),
                MB_OK | MB_ICONERROR | (owner ? 0 : MB_TASKMODAL));
}

void showWarningBox(HWND owner, const std::string& caption, const std::string& text, const std::string& button) {
    buttonText = &button;
    buttonHook = SetWindowsHookExW(WH_CBT, &renameButton, nullptr, GetCurrentThreadId());
    MessageBoxW(owner, toWideDisplay(text).c_str(), toWideDisplay(caption).c_str(),
                MB_OK | MB_ICONWARNING | (owner ? 0 : MB_TASKMODAL));
    if (buttonHook) UnhookWindowsHookEx(buttonHook);
    buttonHook = nullptr;
    buttonText = nullptr;
}

}  // namespace platform::win32ui
