#include "platform/posix/convert.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/posix/program.h"

namespace fs = std::filesystem;
using platform::posix::fromUtf8;
using platform::posix::toUtf8;
using platform::posix::toUtf8Display;

TEST(Convert, MapsCp932BothWays) {
    // Backslash and tilde stay ASCII in CP932, unlike Shift_JIS proper.
    const std::string cp932 = "ﾌｧｲﾙ\\表~";
    const std::string utf8 = "\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99\\\xE8\xA1\xA8~";
    EXPECT_EQ(toUtf8(cp932), utf8);
    EXPECT_EQ(toUtf8Display(cp932), utf8);
    EXPECT_EQ(fromUtf8(utf8), cp932);
    EXPECT_EQ(toUtf8(""), "");
    const std::string longText(5000, 'x');
    EXPECT_EQ(fromUtf8(toUtf8(longText + "表").value()), longText + "表");
}

TEST(Convert, DisplayShowsWhatDoesNotConvertAsQuestionMarks) {
    // 0x81 followed by a blank is no character: "?" for the lead byte only.
    EXPECT_EQ(toUtf8Display("a\x81 b"), "a? b");
    EXPECT_EQ(toUtf8Display("\xA0表"), "?\xE8\xA1\xA8");
    EXPECT_EQ(toUtf8Display("end\x95"), "end?");
    EXPECT_EQ(toUtf8("a\x81 b"), std::nullopt);
    EXPECT_EQ(toUtf8("end\x95"), std::nullopt);
}

TEST(Convert, RefusesTextCp932CannotHold) {
    EXPECT_EQ(fromUtf8("\xC3\x28"), std::nullopt);          // invalid UTF-8
    EXPECT_EQ(fromUtf8("ok\xE8\xA1"), std::nullopt);        // cut off inside a character
    EXPECT_EQ(fromUtf8("caf\xC3\xA9"), std::nullopt);       // é
    EXPECT_EQ(fromUtf8("\xF0\x9F\x98\x80"), std::nullopt);  // emoji
}

// CP932 has no place of its own for these: the table, as glibc's iconv, gives
// them a neighbour's code (the yen sign becomes "\\", the wave dash the
// full-width tilde) or none (tag characters, which iconv drops), so a name
// carrying them would come back changed.
// Texts are UTF-8 bytes here: literals would be compiled to CP932.
TEST(Convert, RefusesCharactersThatDoNotComeBack) {
    const char* changed[] = {
        "\xC2\xA2",         "\xC2\xA3",        "\xC2\xA5",     "\xC2\xAC",     "\xE2\x80\x94",
        "\xE2\x80\x96",     "\xE2\x80\xBE",    "\xE2\x88\x92", "\xE3\x80\x9C",  // ¢ £ ¥ ¬ — ‖ ‾ − 〜
        "\xF3\xA0\x80\x81", "\xF3\xA0\x81\x81"};                                // tag characters
    for (const char* c : changed) {
        EXPECT_EQ(fromUtf8(c), std::nullopt) << c;
        EXPECT_EQ(fromUtf8(std::string("/home/a") + c + "b.txt"), std::nullopt) << c;
    }
    // CP932's own neighbours (￠ ￡ ￢ ― ∥ ～ － ￣) convert both ways.
    for (const char* c : {"\xEF\xBF\xA0", "\xEF\xBF\xA1", "\xEF\xBF\xA2", "\xE2\x80\x95", "\xE2\x88\xA5",
                          "\xEF\xBD\x9E", "\xEF\xBC\x8D", "\xEF\xBF\xA3"}) {
        std::optional<std::string> cp932 = fromUtf8(c);
        ASSERT_TRUE(cp932.has_value()) << c;
        EXPECT_EQ(toUtf8(*cp932), c);
    }
}

TEST(ProgramPath, MakesArgv0AbsoluteWithoutResolvingLinks) {
    char pattern[] = "/tmp/program_path_test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = fs::canonical(pattern).string();
    const fs::path savedCwd = fs::current_path();
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    fs::current_path(dir);
    fs::create_directories(dir + "/bin");
    fs::create_directories(dir + "/plain");
    std::ofstream(dir + "/bin/tool") << "#!/bin/sh\n";
    std::ofstream(dir + "/plain/tool") << "#!/bin/sh\n";
    chmod((dir + "/bin/tool").c_str(), 0755);
    fs::create_symlink("bin/tool", dir + "/linked");

    EXPECT_EQ(platform::posix::absoluteProgramPath("./bin/../linked"), dir + "/linked");
    EXPECT_EQ(platform::posix::absoluteProgramPath(dir + "//bin/./tool"), dir + "/bin/tool");
    // plain/tool is not executable, so the search goes on.
    setenv("PATH", (dir + "/missing:" + dir + "/plain:bin").c_str(), 1);
    EXPECT_EQ(platform::posix::absoluteProgramPath("tool"), dir + "/bin/tool");
    EXPECT_EQ(platform::posix::absoluteProgramPath("nowhere"), dir + "/nowhere");
    unsetenv("PATH");
    EXPECT_EQ(platform::posix::absoluteProgramPath("tool"), dir + "/tool");

    setenv("PATH", savedPath.c_str(), 1);
    fs::current_path(savedCwd);
    fs::remove_all(dir);
}
