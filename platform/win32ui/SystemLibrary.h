// Functions of system libraries loaded when first called: the file dialog's
// and the shell's libraries (and what they pull in) cost a launcher
// noticeable start-up time, and most runs never use them.
#pragma once

#include <windows.h>

namespace platform::win32ui {

// The function, or nullptr when the library or the name is missing.
template <typename Function>
Function* systemFunction(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryA(library);
    if (!module) return nullptr;
    // Through void (*)(), the one function type every other converts to.
    auto any = reinterpret_cast<void (*)()>(GetProcAddress(module, name));
    return reinterpret_cast<Function*>(any);
}

}  // namespace platform::win32ui
