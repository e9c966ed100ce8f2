// The host services on Windows.
// Implements: files (Win32Files), shell execute (ShellExecuteW), the
// environment (GetEnvironmentVariableW), the program file
// (GetModuleFileNameW) and its parameters (GetCommandLineW split by the
// Windows rules). Texts cross in UTF-16 through the program's own CP932
// table, never through the system's code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "platform/win32/Win32Files.h"

namespace platform::win32 {

// What follows the program name of a command line, which is skipped as
// Windows does: up to the closing quote when it starts with one, else up to
// the first blank or tab.
std::wstring_view argumentsOfCommandLine(std::wstring_view commandLine);

// The parameters of a command line: its arguments in CP932, split by
// platform::splitCommandLine; nullopt when CP932 cannot hold them.
std::optional<std::vector<std::string>> parametersOfCommandLine(std::wstring_view commandLine);

// GetModuleFileNameW of the running program, however long.
std::wstring moduleFileName();

class Win32Host : public Host {
public:
    // The program file's path and its parameters, in CP932: the program
    // refuses to start when CP932 cannot hold them.
    Win32Host(std::string programPath, std::vector<std::string> parameters);

    Files& files() override { return files_; }
    // A field CP932 cannot hold starts nothing: 2 (3 for the directory).
    int shellExecute(const ShellRequest& request) override;
    // A value CP932 cannot hold counts as unset, as on POSIX, so that no
    // wrong path is taken from it.
    std::optional<std::string> environmentVariable(const std::string& name) override;
    std::string programPath() override { return programPath_; }
    std::vector<std::string> programParameters() override { return parameters_; }
    // Program files are named TARVO.EXE and TARVO16.EXE on Windows.
    std::string programNameForItems(const std::string& definedName) override { return definedName; }

private:
    Win32Files files_;
    std::string programPath_;
    std::vector<std::string> parameters_;
};

}  // namespace platform::win32
