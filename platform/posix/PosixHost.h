// The host services on POSIX: files, shell execute, environment and the
// program file, with CP932 converted to UTF-8 at this edge.
#pragma once

#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/posix/files.h"

namespace platform::posix {

class PosixHost : public Host {
public:
    // The program's path and parameters, already in CP932.
    PosixHost(std::string programPath, std::vector<std::string> parameters);

    Files& files() override { return files_; }
    int shellExecute(const ShellRequest& request) override;
    std::optional<std::string> environmentVariable(const std::string& name) override;
    std::string programPath() override { return programPath_; }
    std::vector<std::string> programParameters() override { return parameters_; }
    // Items start the program file by its own name.
    std::string programNameForItems(const std::string& definedName) override;

private:
    std::string programPath_;
    std::vector<std::string> parameters_;
    PosixFiles files_;
};

}  // namespace platform::posix
