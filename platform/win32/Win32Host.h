// The host services on Windows.
// Implements: files (Win32Files), shell execute (ShellExecuteA), the
// environment (what GetEnvironmentVariableA answers, through the wide call),
// the program file (GetModuleFileNameA) and its parameters (GetCommandLineA
// split by the Windows rules). Names are CP932 already: no conversion here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "platform/win32/Win32Files.h"

namespace platform::win32 {

// The parameters of a command line: the program name skipped as Windows does
// (up to the closing quote when it starts with one, else up to the first
// blank or tab), the rest split by platform::splitCommandLine.
std::vector<std::string> parametersOfCommandLine(std::string_view commandLine);

// GetModuleFileNameA of the running program, however long.
std::string moduleFileName();

class Win32Host : public Host {
public:
    Files& files() override { return files_; }
    int shellExecute(const ShellRequest& request) override;
    std::optional<std::string> environmentVariable(const std::string& name) override;
    std::string programPath() override { return moduleFileName(); }
    std::vector<std::string> programParameters() override;
    // Program files are named TARVO.EXE and TARVO16.EXE on Windows.
    std::string programNameForItems(const std::string& definedName) override { return definedName; }

private:
    Win32Files files_;
};

}  // namespace platform::win32
