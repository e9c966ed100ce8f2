#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/encoding.h"

using platform::fromUtf8;
using platform::toUtf8;
using platform::toUtf8Display;

TEST(Win32Convert, MapsCp932BothWays) {
    // Backslash and tilde stay ASCII in code page 932.
    const std::string cp932 = "ﾌｧｲﾙ\\表~";
    const std::string utf8 = "\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99\\\xE8\xA1\xA8~";
    EXPECT_EQ(toUtf8(cp932), utf8);
    EXPECT_EQ(toUtf8Display(cp932), utf8);
    EXPECT_EQ(fromUtf8(utf8), cp932);
    EXPECT_EQ(toUtf8(""), "");
    EXPECT_EQ(fromUtf8(""), "");
    const std::string longText(5000, 'x');
    EXPECT_EQ(fromUtf8(toUtf8(longText + "表").value()), longText + "表");
    // Full-width tilde is in code page 932 (0x81 0x60); the wave dash is not.
    EXPECT_EQ(fromUtf8("\xEF\xBD\x9E"), "\x81\x60");
    EXPECT_EQ(fromUtf8("\xE3\x80\x9C"), std::nullopt);
}

TEST(Win32Convert, DisplayShowsWhatDoesNotConvertAsQuestionMarks) {
    // 0x81 followed by a blank is no character: "?" for the lead byte only.
    EXPECT_EQ(toUtf8Display("a\x81 b"), "a? b");
    EXPECT_EQ(toUtf8Display("\xA0表"), "?\xE8\xA1\xA8");
    EXPECT_EQ(toUtf8Display("end\x95"), "end?");
    EXPECT_EQ(toUtf8Display("\x85\x40x"), "?@x");  // a free code point of the lead byte 0x85
    EXPECT_EQ(toUtf8("a\x81 b"), std::nullopt);
    EXPECT_EQ(toUtf8("end\x95"), std::nullopt);
    EXPECT_EQ(toUtf8("\x85\x40"), std::nullopt);
}

TEST(Win32Convert, RefusesTextCp932CannotHold) {
    EXPECT_EQ(fromUtf8("\xC3\x28"), std::nullopt);          // invalid UTF-8
    EXPECT_EQ(fromUtf8("ok\xE8\xA1"), std::nullopt);        // cut off inside a character
    EXPECT_EQ(fromUtf8("caf\xC3\xA9"), std::nullopt);       // é, which a best fit would make "e"
    EXPECT_EQ(fromUtf8("\xF0\x9F\x98\x80"), std::nullopt);  // emoji
    EXPECT_EQ(fromUtf8("?"), "?");                          // the default character itself is fine
}

TEST(Win32Convert, RefusesCharactersThatDoNotComeBack) {
    // Windows would give these a best fit (¥ as "\\", − as "-" ...).
    const char* changed[] = {
        "\xC2\xA2",         "\xC2\xA3",        "\xC2\xA5",     "\xC2\xAC",     "\xE2\x80\x94",
        "\xE2\x80\x96",     "\xE2\x80\xBE",    "\xE2\x88\x92", "\xE3\x80\x9C",  // ¢ £ ¥ ¬ — ‖ ‾ − 〜
        "\xF3\xA0\x80\x81", "\xF3\xA0\x81\x81"};                                // tag characters
    for (const char* c : changed) {
        EXPECT_EQ(fromUtf8(c), std::nullopt) << c;
        EXPECT_EQ(fromUtf8(std::string("C:\\a") + c + "b.txt"), std::nullopt) << c;
    }
    // Code page 932's own neighbours (￠ ￡ ￢ ― ∥ ～ － ￣) convert both ways.
    for (const char* c : {"\xEF\xBF\xA0", "\xEF\xBF\xA1", "\xEF\xBF\xA2", "\xE2\x80\x95", "\xE2\x88\xA5",
                          "\xEF\xBD\x9E", "\xEF\xBC\x8D", "\xEF\xBF\xA3"}) {
        std::optional<std::string> cp932 = fromUtf8(c);
        ASSERT_TRUE(cp932.has_value()) << c;
        EXPECT_EQ(toUtf8(*cp932), c);
    }
}
