// The program's CP932 table against its reference, glibc's iconv "CP932",
// code by code in both directions.
#include "platform/cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

// All of `in` through iconv, or nullopt when iconv refuses any of it or
// counts a conversion as irreversible.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> operator()(const std::string& in) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[64];
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != 0) return std::nullopt;
        return std::string(buffer, static_cast<std::size_t>(dst - buffer));
    }

private:
    iconv_t cd_;
};

std::string utf32(char32_t c) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>((c >> (8 * i)) & 0xFF);
    return s;
}

std::u16string fromUtf16Le(const std::string& bytes) {
    std::u16string s;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        s +=
            static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    return s;
}

std::string encoded(char32_t c) {
    char out[2];
    return std::string(out, platform::cp932::encode(c, out));
}

}  // namespace

// Every single byte and every pair of bytes (a double-byte code or two
// characters), to UTF-8 and to UTF-16 as iconv converts them.
TEST(Cp932Table, DecodesEveryCodeAsIconv) {
    Iconv toUtf8("UTF-8", "CP932"), toUtf16("UTF-16LE", "CP932");
    ASSERT_TRUE(toUtf8.ok() && toUtf16.ok()) << "this system's iconv has no CP932 to compare with";
    int characters = 0;
    for (int lead = 0; lead < 256; ++lead) {
        for (int trail = -1; trail < 256; ++trail) {
            std::string code(1, static_cast<char>(lead));
            if (trail >= 0) code += static_cast<char>(trail);
            const std::optional<std::string> utf8 = toUtf8(code);
            ASSERT_EQ(platform::toUtf8(code), utf8) << std::hex << lead << " " << trail;
            const std::optional<std::string> utf16 = toUtf16(code);
            ASSERT_EQ(platform::toUtf16(code), utf16 ? std::optional(fromUtf16Le(*utf16)) : std::nullopt)
                << std::hex << lead << " " << trail;
            if (utf16 && utf16->size() == 2) ++characters;
        }
    }
    EXPECT_EQ(characters, 191 + 9604);  // single bytes and double-byte codes
}

// Every code point, to the bytes iconv gives it (one-way mappings such as
// the yen sign as 0x5C included); in from UTF-8 and UTF-16 only what comes
// back as itself.
TEST(Cp932Table, EncodesEveryCodePointAsIconv) {
    Iconv encode("CP932", "UTF-32LE"), decode("UTF-32LE", "CP932"), toUtf8("UTF-8", "UTF-32LE");
    ASSERT_TRUE(encode.ok() && decode.ok() && toUtf8.ok());
    int exact = 0, oneWay = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const std::optional<std::string> bytes = encode(utf32(c));
        // Tag characters come out as nothing: the table has no code for them.
        ASSERT_EQ(encoded(c), bytes.value_or("")) << std::hex << static_cast<std::uint32_t>(c);
        const bool comesBack = bytes && !bytes->empty() && decode(*bytes) == utf32(c);
        const std::optional<std::string> expected = comesBack ? bytes : std::nullopt;
        if (const std::optional<std::string> utf8 = toUtf8(utf32(c))) {
            ASSERT_EQ(platform::fromUtf8(*utf8), expected) << std::hex << static_cast<std::uint32_t>(c);
        }
        if (c <= 0xFFFF) {
            ASSERT_EQ(platform::fromUtf16(std::u16string(1, static_cast<char16_t>(c))), expected);
        }
        if (comesBack) ++exact;
        if (bytes && !bytes->empty() && !comesBack) ++oneWay;
    }
    EXPECT_EQ(exact, 9397);
    EXPECT_EQ(oneWay, 9);
}

// 0x80, 0xA0 and 0xFD-0xFF, characters in Windows' code page 932 (U+0080,
// U+F8F0-U+F8F3), are no character here either way: see
// platform/cp932/generate.py.
TEST(Cp932Table, BytesOnlyWindowsMapsAreNoCharacter) {
    const std::pair<char, char32_t> windowsOnly[] = {
        {'\x80', 0x0080}, {'\xA0', 0xF8F0}, {'\xFD', 0xF8F1}, {'\xFE', 0xF8F2}, {'\xFF', 0xF8F3}};
    for (auto [byte, c] : windowsOnly) {
        const std::string text(1, byte);
        EXPECT_EQ(platform::toUtf8(text), std::nullopt) << std::hex << static_cast<std::uint32_t>(c);
        EXPECT_EQ(platform::toUtf8Display(text + "A"), "?A") << std::hex << static_cast<std::uint32_t>(c);
        EXPECT_EQ(platform::toUtf16(text), std::nullopt) << std::hex << static_cast<std::uint32_t>(c);
        EXPECT_EQ(encoded(c), "") << std::hex << static_cast<std::uint32_t>(c);
        EXPECT_EQ(platform::fromUtf16(std::u16string(1, static_cast<char16_t>(c))), std::nullopt)
            << std::hex << static_cast<std::uint32_t>(c);
    }
    EXPECT_EQ(platform::fromUtf8("\xC2\x80"), std::nullopt);
    EXPECT_EQ(platform::fromUtf8("\xEF\xA3\xB0"), std::nullopt);  // U+F8F0
}

TEST(Cp932Table, RefusesUtf16ItCannotHold) {
    EXPECT_EQ(platform::fromUtf16(u"a\U0001F600"), std::nullopt);  // a surrogate pair
    EXPECT_EQ(platform::fromUtf16(std::u16string(1, u'\xD800') + u"a"), std::nullopt);
    EXPECT_EQ(platform::toUtf16Display("a\x81 \x95\x5C"), u"a? \u8868");
    EXPECT_EQ(platform::fromUtf16(u"\u8868\uFF8C\\~"), "\x95\x5C\xCC\\~");
}
