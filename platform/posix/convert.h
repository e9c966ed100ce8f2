// CP932 <-> UTF-8 at the edge of the POSIX backends (iconv "CP932").
#pragma once

#include <optional>
#include <string>

namespace platform::posix {

// For display: a character CP932 cannot map becomes "?".
std::string toUtf8Display(const std::string& cp932);
// Exact conversion, nullopt when any byte sequence does not convert.
std::optional<std::string> toUtf8(const std::string& cp932);
// Text coming in (typed, chosen, dropped, argv): nullopt when CP932 cannot
// hold it, so that the program can refuse it instead of storing a wrong one.
std::optional<std::string> fromUtf8(const std::string& utf8);

}  // namespace platform::posix
