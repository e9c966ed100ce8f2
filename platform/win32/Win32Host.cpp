#include "platform/win32/Win32Host.h"

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
    std::string value(256, '\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD n = GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
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
        return value;
    }
}

std::vector<std::string> Win32Host::programParameters() { return parametersOfCommandLine(GetCommandLineA()); }

}  // namespace platform::win32
