// CP932 <-> UTF-8, for backends and host services that meet UTF-8 at their
// edge (file names, processes, display, the driver's transcript). One
// implementation for every host, on the program's own table (platform/cp932.h).
#pragma once

#include <optional>
#include <string>

namespace platform {

// For display: a character CP932 cannot map becomes "?".
std::string toUtf8Display(const std::string& cp932);
// Exact conversion, nullopt when any byte sequence does not convert.
std::optional<std::string> toUtf8(const std::string& cp932);
// Text coming in (typed, chosen, dropped, argv): nullopt when CP932 cannot
// hold it, so that the program can refuse it instead of storing a wrong one.
std::optional<std::string> fromUtf8(const std::string& utf8);

}  // namespace platform
