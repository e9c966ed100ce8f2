// Our private-profile rules against Windows' own: the same edits of the same
// file give the same bytes as WritePrivateProfileStringA, and reading gives
// what GetPrivateProfileStringA gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/win32/win32.h"
#include "win32_folder.h"

using platform::profileGet;
using platform::profileSet;

namespace {

struct Edit {
    std::string section, key, value;
};

std::string windowsGet(const std::string& path, const std::string& section, const std::string& key) {
    char buffer[2048];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", buffer, sizeof buffer, path.c_str());
    return buffer;
}

}  // namespace

TEST(Win32Profile, EditsGiveTheFileWritePrivateProfileStringGives) {
    // Start files of the shapes a settings file takes: ours, one edited by
    // hand, one without its last line end, an empty one. Not compared: a
    // file with blank lines or with other lines after a section's last key.
    // Wine's WritePrivateProfileStringA drops blank lines and puts a new key
    // after the section's last line; our rules keep every line that is no
    // key where it is and put a new key after the section's last key.
    const std::vector<std::string> starts = {
        "[FormMain]\r\nLeft=10\r\nTop=20\r\n[Language]\r\nJapanese=1\r\nEnglish=0\r\n",
        "; settings\r\n[formmain]\r\n; by hand\r\n  Left = 5 \r\n[Other]\r\nx=1\r\n",
        "[FormMain]\r\nLeft=1",
        "",
    };
    const std::vector<Edit> edits = {
        {"FormMain", "Left", "412"},  {"FormMain", "TOP", "-83"},     {"FormMain", "WindowsDir", "C:\\表\\"},
        {"Language", "English", "1"}, {"NewSection", "Key", "value"}, {"FormMain", "StateSet", ""},
    };
    for (std::size_t s = 0; s < starts.size(); ++s) {
        win32test::TempFolder dir;
        const std::string path = dir / "TARVO.INI";
        win32test::put(path, starts[s]);
        std::string ours = starts[s];
        for (const Edit& e : edits) {
            ASSERT_TRUE(WritePrivateProfileStringA(e.section.c_str(), e.key.c_str(), e.value.c_str(), path.c_str()));
            ours = profileSet(ours, e.section, e.key, e.value);
            EXPECT_EQ(ours, win32test::slurp(path)) << "start " << s << ", after " << e.section << "/" << e.key;
        }
        for (const Edit& e : edits) {
            EXPECT_EQ(profileGet(ours, e.section, e.key, "<none>"), windowsGet(path, e.section, e.key))
                << e.section << "/" << e.key;
        }
    }
}

TEST(Win32Profile, ReadingMatchesGetPrivateProfileString) {
    win32test::TempFolder dir;
    const std::string path = dir / "a.ini";
    const std::string contents =
        "[Main]\r\n  Key = spaced value  \r\nquoted=\"in quotes\"\r\nsingle='x'\r\nhalf=\"open\r\n"
        "dup=first\r\nDUP=second\r\n[main]\r\nlater=hidden\r\n[ゾ]\r\nk=v\r\n";
    win32test::put(path, contents);
    for (const char* key : {"key", "quoted", "single", "half", "dup", "later", "missing"}) {
        EXPECT_EQ(profileGet(contents, "MAIN", key, "<none>"), windowsGet(path, "MAIN", key)) << key;
    }
    EXPECT_EQ(profileGet(contents, "ゾ", "k", "<none>"), windowsGet(path, "ゾ", "k"));
}
