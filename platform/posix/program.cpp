// Implements: the program file's own absolute path from argv[0].
#include "platform/posix/program.h"

#include "platform/posix/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace platform::posix {

namespace {

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

}  // namespace

std::string absoluteProgramPath(const std::string& argv0) {
    if (argv0.empty()) return argv0;
    std::string cwd = workingFolder();
    if (argv0.find('/') != std::string::npos) return makeAbsolute(argv0, cwd);

    if (std::optional<std::string> found = searchPath(argv0, cwd)) return foldSegments(*found);
    return makeAbsolute(argv0, cwd);
}

}  // namespace platform::posix
