// Functions of system libraries loaded when first called: the file dialog's
// and the shell's libraries (and what they pull in) cost a launcher
// noticeable start-up time, and most runs never use them.
#pragma once

#include <windows.h>

namespace platform::win32ui {

// The function, or nullptr when the library or the name is missing
// (GetProcAddress takes ASCII names only).
template <typename Function>
Function* systemFunction(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library);
    if (!module) return nullptr;
    // Through void (*)(), the one function type every other converts to.
    auto any = reinterpret_cast<void (*)()>(GetProcAddress(module, name));
    return reinterpret_cast<Function*>(any);
}

}  // namespace platform::win32ui
