// Implements: the system's dialogs (Dialogs.h). MessageBoxA cannot name its
// buttons, so the warning box renames its one button just before it shows,
// from a CBT hook on this thread.
#include "platform/win32ui/Dialogs.h"

#include <commdlg.h>

#include <vector>

#include "platform/win32ui/SystemLibrary.h"

namespace platform::win32ui {

namespace {

// "Text|*.PRG|All|*.*" as the dialog takes it: NUL-separated pairs ending
// in two NULs.
std::vector<char> filterPairs(const std::string& filter) {
    std::vector<char> pairs(filter.begin(), filter.end());
    for (char& c : pairs) {
        if (c == '|') c = '\0';
    }
    pairs.push_back('\0');
    pairs.push_back('\0');
    return pairs;
}

HHOOK buttonHook = nullptr;
const std::string* buttonText = nullptr;

LRESULT CALLBACK renameButton(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = buttonHook;
    if (code == HCBT_ACTIVATE && buttonText) {
        auto box = reinterpret_cast<HWND>(wParam);
        char name[16] = {};
        GetClassNameA(box, name, sizeof name);
        if (std::string(name) == "#32770") {
            if (HWND ok = GetDlgItem(box, IDOK)) SetWindowTextA(ok, buttonText->c_str());
            UnhookWindowsHookEx(buttonHook);
            buttonHook = nullptr;
            buttonText = nullptr;
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

bool runFileOpenDialog(OpenDialog& dialog, HWND owner) {
    std::vector<char> filter = filterPairs(dialog.filter);
    char file[MAX_PATH] = {};
    dialog.fileName.copy(file, sizeof file - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.data();
    ofn.nFilterIndex = static_cast<DWORD>(dialog.filterIndex);
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = dialog.initialDir.empty() ? nullptr : dialog.initialDir.c_str();
    ofn.lpstrTitle = dialog.title.empty() ? nullptr : dialog.title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    auto open = systemFunction<BOOL WINAPI(OPENFILENAMEA*)>("comdlg32.dll", "GetOpenFileNameA");
    if (!open || !open(&ofn)) return false;
    std::string chosen = file;
    // "?" stands for a character the code page lacks; no file name has one.
    dialog.pathLost = chosen.find('?') != std::string::npos;
    dialog.fileName = dialog.pathLost ? "" : chosen;
    dialog.filterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

void showErrorBox(HWND owner, const std::string& caption, const std::string& text) {
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR | (owner ? 0 : MB_TASKMODAL));
}

void showWarningBox(HWND owner, const std::string& caption, const std::string& text, const std::string& button) {
    buttonText = &button;
    buttonHook = SetWindowsHookExA(WH_CBT, &renameButton, nullptr, GetCurrentThreadId());
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING | (owner ? 0 : MB_TASKMODAL));
    if (buttonHook) UnhookWindowsHookEx(buttonHook);
    buttonHook = nullptr;
    buttonText = nullptr;
}

}  // namespace platform::win32ui
