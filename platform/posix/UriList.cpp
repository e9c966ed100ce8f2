// Implements: the paths of a dropped text/uri-list (percent-decoded file URIs
// and plain absolute paths).
#include "platform/posix/UriList.h"

#include <cctype>

namespace platform::posix {

namespace {

std::string percentDecode(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> pathsFromUriList(const std::string& text) {
    std::vector<std::string> paths;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("file://", 0) == 0) {
            std::size_t slash = line.find('/', 7);  // after an optional host name
            if (slash == std::string::npos) continue;
            paths.push_back(percentDecode(line.substr(slash)));
        } else if (line[0] == '/') {
            paths.push_back(line);
        }
    }
    return paths;
}

}  // namespace platform::posix
