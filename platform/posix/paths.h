// Path helpers shared by the POSIX services.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::posix {

std::string workingFolder();

// Joins a relative path to a folder, dropping "." segments and doubled
// slashes; ".." is kept, since folding it would change the meaning across a link.
std::string joinPath(const std::string& folder, std::string_view relative);

// The path itself when absolute, else joined to base.
std::string absolute(const std::string& path, const std::string& base);

// An existing folder (a link to one counts), by UTF-8 path.
bool isFolder(const std::string& path);

// A regular file this process may execute.
bool isExecutableFile(const std::string& path);

// A bare name looked up on PATH the way a shell does (an empty entry is the
// working folder); the result is absolute.
std::optional<std::string> searchPath(const std::string& name, const std::string& cwd);

}  // namespace platform::posix
