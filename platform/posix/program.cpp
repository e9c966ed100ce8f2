#include "platform/posix/program.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace platform::posix {

namespace {

std::string workingFolder() {
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

// Folds "." and ".." without looking at the file system, so that a link in
// the path stays as it was named.
std::string foldSegments(std::string_view absolute) {
    std::vector<std::string_view> kept;
    std::size_t start = 0;
    while (start <= absolute.size()) {
        std::size_t end = absolute.find('/', start);
        if (end == std::string_view::npos) end = absolute.size();
        std::string_view segment = absolute.substr(start, end - start);
        if (segment == "..") {
            if (!kept.empty()) kept.pop_back();
        } else if (!segment.empty() && segment != ".") {
            kept.push_back(segment);
        }
        start = end + 1;
    }
    if (kept.empty()) return "/";
    std::string out;
    for (std::string_view segment : kept) {
        out += '/';
        out += segment;
    }
    return out;
}

std::string makeAbsolute(const std::string& path, const std::string& cwd) {
    return foldSegments(!path.empty() && path.front() == '/' ? path : cwd + "/" + path);
}

bool isExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string absoluteProgramPath(const std::string& argv0) {
    if (argv0.empty()) return argv0;
    std::string cwd = workingFolder();
    if (argv0.find('/') != std::string::npos) return makeAbsolute(argv0, cwd);

    if (const char* path = std::getenv("PATH")) {
        std::string_view entries(path);
        std::size_t start = 0;
        while (start <= entries.size()) {
            std::size_t end = entries.find(':', start);
            if (end == std::string_view::npos) end = entries.size();
            // An empty entry means the working folder, as the shell takes it.
            std::string folder(entries.substr(start, end - start));
            std::string candidate = makeAbsolute((folder.empty() ? "." : folder) + "/" + argv0, cwd);
            if (isExecutableFile(candidate)) return candidate;
            start = end + 1;
        }
    }
    return makeAbsolute(argv0, cwd);
}

}  // namespace platform::posix
