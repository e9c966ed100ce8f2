#include <gtest/gtest.h>

#include "app/SettingsFile.h"
#include "platform/tempname.h"
#include "platform/text.h"

using namespace platform;

TEST(Cp932Text, SeparatorSearchSkipsTrailBytes) {
    // "表" and "ソ" end in 0x5C; the only real separator is the one before "x".
    const std::string sep(pathSeparator());
    const std::string path = sep + "dir" + sep + "表ソ" + sep + "x";
    EXPECT_EQ(findLastOfChars("表", "\\"), std::string::npos);
    EXPECT_EQ(findLastOfChars("a\\表", "\\"), 1u);
    EXPECT_EQ(fileNamePart(path), "x");
    EXPECT_EQ(directoryPart(path), sep + "dir" + sep + "表ソ" + sep);
    EXPECT_EQ(fileNamePart("表.EXE"), "表.EXE");
    EXPECT_EQ(directoryPart("noslash"), "");
}

TEST(Cp932Text, TruncationAndCase) {
    EXPECT_EQ(truncateBytes("ab表", 3), "ab");
    EXPECT_EQ(truncateBytes("ab表", 4), "ab表");
    EXPECT_EQ(truncateBytes("ｱｲｳ", 2), "ｱｲ");  // half-width katakana are one byte
    EXPECT_TRUE(equalsIgnoreAsciiCase("tarvo.exe", "TARVO.EXE"));
    // A trail byte in the ASCII letter range is not upper-cased.
    EXPECT_EQ(upperAscii("aヂa"), "AヂA");  // ヂ is 0x83 0x61
    EXPECT_FALSE(equalsIgnoreAsciiCase("ア", "a"));
}

TEST(Cp932Text, Numbers) {
    EXPECT_EQ(parseDecimal("-1"), -1);
    EXPECT_EQ(parseDecimal("+12"), 12);
    EXPECT_EQ(parseDecimal("2147483647"), 2147483647);
    EXPECT_EQ(parseDecimal("2147483648"), std::nullopt);
    EXPECT_EQ(parseDecimal("12a"), std::nullopt);
    EXPECT_EQ(parseDecimal(""), std::nullopt);
    EXPECT_EQ(parseDecimal(" 1"), std::nullopt);
    EXPECT_EQ(parseHex("ff"), 255);
    EXPECT_EQ(parseHex("FFFFFFFF"), -1);
    EXPECT_EQ(parseHex("-1"), std::nullopt);
    EXPECT_EQ(parseHex("100000000"), std::nullopt);
}

TEST(CommandLine, WindowsSplittingRules) {
    using V = std::vector<std::string>;
    EXPECT_EQ(splitCommandLine("  a\tb  c "), (V{"a", "b", "c"}));
    EXPECT_EQ(splitCommandLine("\"a b\" c"), (V{"a b", "c"}));
    EXPECT_EQ(splitCommandLine("x\"a b\"y"), (V{"xa by"}));
    EXPECT_EQ(splitCommandLine("\"say \"\"hi\"\"\""), (V{"say \"hi\""}));
    EXPECT_EQ(splitCommandLine("\"\""), (V{""}));
    EXPECT_EQ(splitCommandLine("C:\\dir\\ \"a\\\" b\""), (V{"C:\\dir\\", "a\\", "b"}));
    EXPECT_EQ(splitCommandLine("$(rm -rf x); `id` | y"), (V{"$(rm", "-rf", "x);", "`id`", "|", "y"}));
    EXPECT_TRUE(splitCommandLine("   ").empty());
}

TEST(SettingsRules, FilePathAndNumbers) {
#ifndef _WIN32
    EXPECT_EQ(app::settingsFilePath("/opt/t/TARVO.EXE"), "/opt/t/TARVO.INI");
    EXPECT_EQ(app::settingsFilePath("/opt/t/tarvo"), "/opt/t/tarvo.INI");
    EXPECT_EQ(app::settingsFilePath("/opt/v1.2/tarvo"), "/opt/v1.2/tarvo.INI");
    EXPECT_EQ(app::settingsFilePath("/opt/t/a.b.exe"), "/opt/t/a.b.INI");
#else
    EXPECT_EQ(app::settingsFilePath("C:\\t\\TARVO.EXE"), "C:\\t\\TARVO.INI");
    EXPECT_EQ(app::settingsFilePath("C:\\v1.2\\TARVO"), "C:\\v1.2\\TARVO.INI");
    EXPECT_EQ(app::settingsFilePath("C:\\表\\a.b.exe"), "C:\\表\\a.b.INI");
    EXPECT_EQ(app::settingsFilePath("C:TARVO.EXE"), "C:TARVO.INI");
#endif
    EXPECT_EQ(app::parseSettingsInteger("0x10", -1), 16);
    EXPECT_EQ(app::parseSettingsInteger("0X1f", -1), 31);
    EXPECT_EQ(app::parseSettingsInteger("0x", -1), -1);  // too short for hexadecimal
    EXPECT_EQ(app::parseSettingsInteger("12", -1), 12);
    EXPECT_EQ(app::parseSettingsInteger("", 7), 7);
    EXPECT_EQ(app::parseSettingsInteger("0xZZ", 7), 7);
    EXPECT_EQ(app::parseSettingsInteger("abc", 1), 1);
}

TEST(TempNames, OnlyNamesOfASafeWriteTellTheirWriter) {
    using platform::writerOf;
    const std::string prefix = platform::tempPrefix<char>("TARVO.INI");
    const std::string mine = platform::tempName<char>(prefix, 4242);
    EXPECT_EQ(writerOf<char>(mine, prefix), 4242u);
    EXPECT_NE(platform::tempName<char>(prefix, 4242), mine);
    // The user's own files that merely look alike are never taken for ours.
    for (const char* name : {".TARVO.INI.1-2", ".TARVO.INI.1-2-3x", ".TARVO.INI.-1-2-3", ".TARVO.INI.12345678901-2-3",
                             ".TARVO.INI.1--3", "TARVO.INI.1-2-3", ".TARVO.INI2.1-2-3"}) {
        EXPECT_EQ(writerOf<char>(name, prefix), std::nullopt) << name;
    }
    const std::wstring wide = platform::tempPrefix<wchar_t>(L"表.PRG");
    EXPECT_EQ(writerOf<wchar_t>(platform::tempName<wchar_t>(wide, 7), wide), 7u);
}
