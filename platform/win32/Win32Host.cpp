#include "platform/win32/Win32Host.h"

#include <algorithm>
#include <cstdint>

#include "platform/text.h"
#include "platform/win32/win32.h"

#include <shellapi.h>

namespace platform::win32 {

std::vector<std::string> parametersOfCommandLine(std::string_view line) {
    std::size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        std::size_t close = line.find('"', 1);
        i = close == std::string_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    }
    return splitCommandLine(line.substr(i));
}

std::string moduleFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        // A full buffer means the name was cut.
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

int Win32Host::shellExecute(const ShellRequest& r) {
    // Empty fields go as empty strings, not null pointers; the active window
    // (the program's, when the user starts an item) owns the shell's boxes.
    HINSTANCE result = ShellExecuteA(GetActiveWindow(), r.operation.c_str(), r.file.c_str(), r.parameters.c_str(),
                                     r.directory.c_str(), r.show);
    return static_cast<int>(reinterpret_cast<std::intptr_t>(result));
}

std::optional<std::string> Win32Host::environmentVariable(const std::string& name) {
    // What GetEnvironmentVariableA does, in two steps: Wine's own cuts a value
    // with double-byte characters short by one byte for each of them.
    int nameLength = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
    std::wstring wideName(static_cast<std::size_t>(std::max(nameLength, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wideName.data(), nameLength);
    std::wstring value(256, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD n = GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
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
        break;
    }
    const int size = static_cast<int>(value.size());
    int bytes = WideCharToMultiByte(CP_ACP, 0, value.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, value.data(), size, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::vector<std::string> Win32Host::programParameters() { return parametersOfCommandLine(GetCommandLineA()); }

}  // namespace platform::win32
