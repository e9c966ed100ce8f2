// Paths from a dropped text/uri-list (or a plain list of paths).
#pragma once

#include <string>
#include <vector>

namespace platform::posix {

// "file:///a%20b\r\nfile://host/c\n" -> {"/a b", "/c"}; lines that are not
// file URIs or absolute paths are skipped. UTF-8 in and out.
std::vector<std::string> pathsFromUriList(const std::string& text);

}  // namespace platform::posix
