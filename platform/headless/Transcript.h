// The transcript's text form: UTF-8 between double quotes, with \xHH for
// control bytes, 0x7F and bytes that are not valid CP932, and \" and \\.
#pragma once

#include <optional>
#include <string>

namespace platform::headless {

// A CP932 text as a quoted transcript string.
std::string quote(const std::string& cp932);

// A raw UTF-8 line (such as a refused action) as a quoted string.
std::string quoteUtf8(const std::string& utf8);

// The escapes of an action's text decoded and the result converted to CP932;
// nullopt when the text cannot be held in CP932.
std::optional<std::string> decodeText(const std::string& utf8WithEscapes);

}  // namespace platform::headless
