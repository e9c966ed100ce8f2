#include "platform/win32/Win32Host.h"

#include <cstdint>

#include "platform/cp932.h"
#include "platform/text.h"
#include "platform/win32/win32.h"

#include <shellapi.h>

namespace platform::win32 {

std::wstring_view argumentsOfCommandLine(std::wstring_view line) {
    std::size_t i = 0;
    if (!line.empty() && line[0] == L'"') {
        std::size_t close = line.find(L'"', 1);
        i = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
    }
    return line.substr(i);
}

std::optional<std::vector<std::string>> parametersOfCommandLine(std::wstring_view line) {
    // Converted before the split: blanks, tabs and quotes are ASCII in both.
    std::optional<std::string> arguments = fromWide(argumentsOfCommandLine(line));
    if (!arguments) return std::nullopt;
    return splitCommandLine(*arguments);
}

std::wstring moduleFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        // A full buffer means the name was cut.
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

Win32Host::Win32Host(std::string programPath, std::vector<std::string> parameters)
    : programPath_(std::move(programPath)), parameters_(std::move(parameters)) {}

int Win32Host::shellExecute(const ShellRequest& r) {
    std::optional<std::wstring> operation = toWide(r.operation), file = toWide(r.file),
                                parameters = toWide(r.parameters), directory = toWide(r.directory);
    // A name that does not convert names no file: never start a wrong one.
    if (!operation || !file || !parameters) return 2;
    if (!directory) return 3;
    // Empty fields go as empty strings, not null pointers; the active window
    // (the program's, when the user starts an item) owns the shell's boxes.
    HINSTANCE result = ShellExecuteW(GetActiveWindow(), operation->c_str(), file->c_str(), parameters->c_str(),
                                     directory->c_str(), r.show);
    return static_cast<int>(reinterpret_cast<std::intptr_t>(result));
}

std::optional<std::string> Win32Host::environmentVariable(const std::string& name) {
    std::optional<std::wstring> wideName = toWide(name);
    if (!wideName) return std::nullopt;
    std::wstring value(256, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD n = GetEnvironmentVariableW(wideName->c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (n == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        // Too small: n is the size needed, terminator included.
        if (n >= value.size()) {
            value.resize(n);
            continue;
        }
        value.resize(n);
        return fromWide(value);
    }
}

}  // namespace platform::win32
