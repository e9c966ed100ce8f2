// The program's CP932 table against the system's code page 932 (Wine's
// here), code by code in both directions.
#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/win32/win32.h"

namespace {

constexpr UINT kCp932 = 932;

// Where the table leaves Windows on purpose: single bytes that Windows maps
// and glibc's iconv does not, made no character both ways (the reasons are in
// platform/cp932/generate.py). With MB_ERR_INVALID_CHARS Wine still decodes
// 0x80 as U+0080 and encodes U+0080 back; 0xA0 and 0xFD-0xFF it refuses
// there, but encodes U+F8F0-U+F8F3 to them.
struct WindowsOnly {
    char byte;
    wchar_t c;
};
constexpr WindowsOnly kWindowsOnly[] = {
    {'\x80', 0x0080}, {'\xA0', 0xF8F0}, {'\xFD', 0xF8F1}, {'\xFE', 0xF8F2}, {'\xFF', 0xF8F3}};

bool windowsOnly(unsigned char byte) {
    for (const WindowsOnly& w : kWindowsOnly) {
        if (static_cast<unsigned char>(w.byte) == byte) return true;
    }
    return false;
}

std::optional<std::wstring> systemDecode(const std::string& bytes) {
    wchar_t wide[4];
    const int n =
        MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide, 4);
    if (n <= 0) return std::nullopt;
    return std::wstring(wide, static_cast<std::size_t>(n));
}

// The code page's bytes for `c` when they decode back to it; nullopt when it
// has none, gives a best fit or the default character.
std::optional<std::string> systemEncodeExactly(wchar_t c) {
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, sizeof bytes, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return std::nullopt;
    const std::string code(bytes, static_cast<std::size_t>(n));
    if (systemDecode(code) != std::wstring(1, c)) return std::nullopt;
    return code;
}

}  // namespace

// Every single byte and every pair of bytes (a double-byte code or two
// characters).
TEST(Win32Cp932Table, DecodesEveryCodeAsCodePage932) {
    int characters = 0;
    for (int lead = 0; lead < 256; ++lead) {
        for (int trail = -1; trail < 256; ++trail) {
            std::string code(1, static_cast<char>(lead));
            if (trail >= 0) code += static_cast<char>(trail);
            if (windowsOnly(lead) || (trail >= 0 && windowsOnly(trail) && platform::toWide(code.substr(0, 1))))
                continue;
            const std::optional<std::wstring> wide = systemDecode(code);
            ASSERT_EQ(platform::toWide(code), wide) << std::hex << lead << " " << trail;
            if (wide && wide->size() == 1) ++characters;
        }
    }
    EXPECT_EQ(characters, 191 + 9604);  // single bytes and double-byte codes
}

TEST(Win32Cp932Table, EncodesEveryReversibleCodePointAsCodePage932) {
    int exact = 0;
    for (wchar_t c = 0; c < 0xD800; ++c) {
        if (c == 0x0080) continue;
        const std::optional<std::string> expected = systemEncodeExactly(c);
        ASSERT_EQ(platform::fromWide(std::wstring(1, c)), expected) << std::hex << static_cast<int>(c);
        if (expected) ++exact;
    }
    for (unsigned c = 0xE000; c <= 0xFFFF; ++c) {
        const wchar_t w = static_cast<wchar_t>(c);
        const std::optional<std::string> expected = systemEncodeExactly(w);
        ASSERT_EQ(platform::fromWide(std::wstring(1, w)), expected) << std::hex << c;
        if (expected) ++exact;
    }
    EXPECT_EQ(exact, 9397);
}

TEST(Win32Cp932Table, BytesOnlyWindowsMapsAreNoCharacter) {
    for (const WindowsOnly& w : kWindowsOnly) {
        EXPECT_EQ(platform::toWide(std::string(1, w.byte)), std::nullopt) << std::hex << static_cast<int>(w.c);
        EXPECT_EQ(platform::toWideDisplay(std::string(1, w.byte) + "A"), L"?A");
        EXPECT_EQ(platform::fromWide(std::wstring(1, w.c)), std::nullopt) << std::hex << static_cast<int>(w.c);
    }
    // What Wine does with them, so that this list goes when it agrees.
    EXPECT_EQ(systemDecode("\x80"), std::wstring(1, 0x0080));
    EXPECT_EQ(systemEncodeExactly(0x0080), "\x80");
    for (const WindowsOnly& w : kWindowsOnly) {
        if (w.c != 0x0080) {
            EXPECT_EQ(systemDecode(std::string(1, w.byte)), std::nullopt);
        }
    }
}
