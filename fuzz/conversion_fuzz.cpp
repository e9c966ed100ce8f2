// Name conversion between CP932 and UTF-8 is exact or refused: a UTF-8 text
// that fromUtf8 accepts comes back identical through toUtf8. CP932 has
// duplicate codes for some characters (NEC and IBM rows), so a CP932 text
// need not come back byte for byte; it must come back as the same
// characters, which is what names the same file. The display conversion
// takes anything and gives valid UTF-8. UTF-16, for the Windows W calls,
// says the same as UTF-8.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "check.h"
#include "platform/cp932.h"

namespace {

// Well-formed UTF-8: shortest forms, no surrogates, nothing above U+10FFFF.
bool validUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            n = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        for (std::size_t k = 1; k <= n; ++k) {
            if (i + k >= s.size()) return false;
            const unsigned char t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // The bytes as UTF-8 coming in (a typed text, a dropped path, argv).
    if (std::optional<std::string> cp932 = platform::fromUtf8(bytes)) {
        std::optional<std::string> back = platform::toUtf8(*cp932);
        FUZZ_CHECK(back && *back == bytes, "UTF-8 that fromUtf8 accepts comes back identical through toUtf8",
                   fuzz::printBytes("UTF-8", bytes), fuzz::printBytes("CP932", *cp932),
                   back ? fuzz::printBytes("back", *back) : (void)std::fputs("  back: refused\n", stderr));
    }

    // The bytes as CP932 going out (a file name, a process argument).
    std::optional<std::string> utf8 = platform::toUtf8(bytes);
    if (utf8) {
        std::optional<std::string> back = platform::fromUtf8(*utf8);
        std::optional<std::string> again = back ? platform::toUtf8(*back) : std::nullopt;
        FUZZ_CHECK(again && *again == *utf8, "CP932 that toUtf8 accepts comes back as the same characters",
                   fuzz::printBytes("CP932", bytes), fuzz::printBytes("UTF-8", *utf8),
                   back ? fuzz::printBytes("back", *back) : (void)std::fputs("  back: refused\n", stderr));
        FUZZ_CHECK(validUtf8(*utf8), "toUtf8 gives valid UTF-8", fuzz::printBytes("UTF-8", *utf8));
    }

    std::optional<std::u16string> utf16 = platform::toUtf16(bytes);
    FUZZ_CHECK(utf16.has_value() == utf8.has_value(), "toUtf16 refuses what toUtf8 refuses",
               fuzz::printBytes("CP932", bytes));
    if (utf16) {
        FUZZ_CHECK(platform::fromUtf16(*utf16) == platform::fromUtf8(*utf8),
                   "fromUtf16 gives what fromUtf8 gives for the same characters", fuzz::printBytes("CP932", bytes));
    }

    // For display nothing is refused.
    const std::string shown = platform::toUtf8Display(bytes);
    FUZZ_CHECK(validUtf8(shown), "the display conversion gives valid UTF-8", fuzz::printBytes("CP932", bytes),
               fuzz::printBytes("shown", shown));
    if (utf8) {
        FUZZ_CHECK(shown == *utf8, "text that converts exactly is displayed as it converts",
                   fuzz::printBytes("CP932", bytes), fuzz::printBytes("shown", shown));
    }
    return 0;
}
