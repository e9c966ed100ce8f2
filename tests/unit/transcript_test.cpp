#include "platform/headless/Transcript.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using platform::headless::decodeText;
using platform::headless::quote;
using platform::headless::quoteUtf8;

// Plain literals are CP932 here; UTF-8 is spelt out in escapes.
TEST(TranscriptQuote, EscapesAndConvertsToUtf8) {
    EXPECT_EQ(quote(""), R"("")");
    EXPECT_EQ(quote("a \"b\" \\c"), R"("a \"b\" \\c")");
    EXPECT_EQ(quote("\x01\t\r\n\x1F\x7F~"), R"("\x01\x09\x0D\x0A\x1F\x7F~")");
    EXPECT_EQ(quote("表ﾌ"), "\"\xE8\xA1\xA8\xEF\xBE\x8C\"");
    // ソ ends in 0x5C: a trail byte, not a backslash to escape.
    EXPECT_EQ(quote("ソ"), "\"\xE3\x82\xBD\"");
}

TEST(TranscriptQuote, BytesThatAreNotCp932) {
    EXPECT_EQ(quote("\xA0"
                    "x"),
              R"("\xA0x")");
    EXPECT_EQ(quote("end\x95"), R"("end\x95")");  // a lead byte with nothing after it
    // A lead byte whose trail is no character: the next byte is taken on its own.
    EXPECT_EQ(quote("\x81"
                    " b"),
              R"("\x81 b")");
    EXPECT_EQ(quote("\x81\x7F"), R"("\x81\x7F")");
}

TEST(TranscriptQuote, Utf8LinePassesThrough) {
    EXPECT_EQ(quoteUtf8("type Edit1 \xE8\xA1\xA8"), "\"type Edit1 \xE8\xA1\xA8\"");
    EXPECT_EQ(quoteUtf8("a\"\\\t\x7F"), R"("a\"\\\x09\x7F")");
}

TEST(TranscriptDecode, EscapesBecomeBytes) {
    EXPECT_EQ(decodeText(R"(a\x41\"\\)"), "aA\"\\");
    EXPECT_EQ(decodeText("\xE8\xA1\xA8\xEF\xBE\x8C"), "表ﾌ");
    EXPECT_EQ(decodeText(R"(\x7f\x95)"), "\x7F\x95");
    EXPECT_EQ(decodeText(R"(\x83\x5C)"), "ソ");  // raw bytes are not converted again
    // What is no escape stays as written.
    EXPECT_EQ(decodeText(R"(\n \xZZ \x4)"), R"(\n \xZZ \x4)");
    EXPECT_EQ(decodeText(R"(end\)"), R"(end\)");
}

TEST(TranscriptDecode, RefusesWhatCp932CannotHold) {
    EXPECT_EQ(decodeText("caf\xC3\xA9"), std::nullopt);
    EXPECT_EQ(decodeText("\\x41\xF0\x9F\x98\x80"), std::nullopt);
    EXPECT_EQ(decodeText("\xC3\x28"), std::nullopt);
}

TEST(TranscriptDecode, UndoesQuote) {
    for (const std::string cp932 : {"", "plain", "a \"b\" \\c", "\\x41", "\t\r\n\x7F", "表ソ\\ﾌ",
                                    "\xA0"
                                    "x",
                                    "end\x95",
                                    "\x81"
                                    " b",
                                    "\x81\x7F"}) {
        std::string quoted = quote(cp932);
        EXPECT_EQ(decodeText(quoted.substr(1, quoted.size() - 2)), cp932) << quoted;
    }
}
