// Implements: the path helpers of the POSIX services (working folder, joining,
// PATH search, file kinds).
#include "platform/posix/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace platform::posix {

std::string workingFolder() {
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::string joinPath(const std::string& folder, std::string_view relative) {
    std::string out = folder;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string_view::npos) end = relative.size();
        std::string_view segment = relative.substr(start, end - start);
        if (!segment.empty() && segment != ".") {
            if (out.empty() || out.back() != '/') out += '/';
            out += segment;
        }
        start = end + 1;
    }
    return out.empty() ? "/" : out;
}

std::string absolute(const std::string& path, const std::string& base) {
    return !path.empty() && path.front() == '/' ? path : joinPath(base, path);
}

bool isFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) == 0;
}

// Absolute because a started child changes folder before it is loaded.
std::optional<std::string> searchPath(const std::string& name, const std::string& cwd) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return std::nullopt;
    std::string_view entries(path);
    std::size_t start = 0;
    while (start <= entries.size()) {
        std::size_t end = entries.find(':', start);
        if (end == std::string_view::npos) end = entries.size();
        std::string folder(entries.substr(start, end - start));
        std::string candidate = joinPath(folder.empty() ? cwd : absolute(folder, cwd), name);
        if (isExecutableFile(candidate)) return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace platform::posix
