// Implements: platform/host.h on POSIX (files, shell execute, the environment,
// the program file and its parameters), CP932 converted to UTF-8 here.
#include "platform/posix/PosixHost.h"

#include <cstdlib>

#include "platform/encoding.h"
#include "platform/posix/shell.h"
#include "platform/text.h"

namespace platform::posix {

PosixHost::PosixHost(std::string programPath, std::vector<std::string> parameters)
    : programPath_(std::move(programPath)), parameters_(std::move(parameters)) {}

int PosixHost::shellExecute(const ShellRequest& r) {
    std::optional<std::string> operation = toUtf8(r.operation), file = toUtf8(r.file),
                               parameters = toUtf8(r.parameters), directory = toUtf8(r.directory);
    // A name that does not convert names no file: never start a wrong one.
    if (!operation || !file || !parameters) return 2;
    if (!directory) return 3;
    return posix::shellExecute({*operation, *file, *parameters, *directory, r.show});
}

std::optional<std::string> PosixHost::environmentVariable(const std::string& name) {
    std::optional<std::string> key = toUtf8(name);
    const char* value = key ? std::getenv(key->c_str()) : nullptr;
    if (!value) return std::nullopt;
    return fromUtf8(value);
}

std::string PosixHost::programNameForItems(const std::string&) { return fileNamePart(programPath_); }

}  // namespace platform::posix
