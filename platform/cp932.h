// The program's own CP932 table, both directions, so that no host needs a
// system converter: equal to glibc's iconv "CP932" and, but for five single
// bytes, to Windows' code page 932 (platform/cp932/generate.py says which and
// why). The tables are constant data: nothing is built at start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/encoding.h"

namespace platform::cp932 {

// The character at `pos`: its code point and its length in bytes, 0 when
// the bytes there are no character (a lead byte alone, an unassigned code).
struct Char {
    char32_t codePoint;
    std::size_t length;
};
Char decode(std::string_view cp932, std::size_t pos);

// The bytes iconv gives a code point, its one-way mappings included (the yen
// sign as 0x5C): their count, 0 when CP932 has none.
std::size_t encode(char32_t codePoint, char out[2]);

// Generated into platform/cp932/table.cpp. Code points fit 16 bits: CP932
// holds nothing above U+FFFF.
namespace table {
constexpr std::uint16_t kNone = 0xFFFF;
constexpr std::size_t kLeads = 60;    // 0x81-0x9F, 0xE0-0xFC
constexpr std::size_t kTrails = 188;  // 0x40-0x7E, 0x80-0xFC
extern const std::uint16_t single[256];
extern const std::uint16_t doubles[kLeads * kTrails];
// Sorted code points from U+0080 up (ASCII is itself) and their codes: a
// byte, or lead * 256 + trail.
extern const std::size_t encodeCount;
extern const std::uint16_t encodeFrom[];
extern const std::uint16_t encodeTo[];
}  // namespace table

}  // namespace platform::cp932

namespace platform {

// encoding.h's contract in UTF-16, for the Windows W calls.
std::u16string toUtf16Display(std::string_view cp932);
std::optional<std::u16string> toUtf16(std::string_view cp932);
std::optional<std::string> fromUtf16(std::u16string_view utf16);

#ifdef _WIN32
// The same in wchar_t, which is UTF-16 on Windows.
std::wstring toWideDisplay(std::string_view cp932);
std::optional<std::wstring> toWide(std::string_view cp932);
std::optional<std::string> fromWide(std::wstring_view wide);
#endif

}  // namespace platform
