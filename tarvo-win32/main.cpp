// TARVO.EXE: the launcher on Windows, a GUI program on the Win32 backend
// and the Windows host services.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/Program.h"
#include "platform/cp932.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32ui/Win32Backend.h"

namespace {

// The program keeps its settings and set files beside itself in CP932, and
// takes its parameters in CP932: what CP932 cannot hold stops it before it
// reads or writes anything. `japanese` and `english` are CP932 literals;
// `what` is the text at fault.
int refuseToStart(const std::string& japanese, const std::string& english, const std::wstring& what) {
    std::wstring text =
        platform::toWideDisplay(japanese) + L"\n" + what + L"\n\n" + platform::toWideDisplay(english) + L"\n" + what;
    MessageBoxW(nullptr, text.c_str(), L"TARVO", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const std::wstring module = platform::win32::moduleFileName();
    std::optional<std::string> programPath = platform::fromWide(module);
    if (!programPath) {
        return refuseToStart(
            "プログラムのパスに CP932 で表せない文字があります。CP932 で表せる名前のフォルダに移してください:",
            "The program's path holds characters that CP932 cannot hold. Move the program to a "
            "folder whose name CP932 can hold:",
            module);
    }
    const std::wstring commandLine = GetCommandLineW();
    std::optional<std::vector<std::string>> parameters = platform::win32::parametersOfCommandLine(commandLine);
    if (!parameters) {
        return refuseToStart(
            "起動パラメータに CP932 で表せない文字があります:", "A parameter holds characters that CP932 cannot hold:",
            std::wstring(platform::win32::argumentsOfCommandLine(commandLine)));
    }
    platform::win32::Win32Host host(std::move(*programPath), std::move(*parameters));
    platform::setHost(&host);
    platform::win32ui::Win32Backend backend(instance, showCommand);
    platform::setWindowing(&backend);
    int rc = app::programMain();
    platform::setWindowing(nullptr);
    platform::setHost(nullptr);
    return rc;
}
