// Our private-profile rules against Windows' own: the same edits of the same
// file give the same bytes as WritePrivateProfileStringA, and reading gives
// what GetPrivateProfileStringA gives.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/text.h"
#include "platform/win32/win32.h"
#include "win32_folder.h"

using platform::profileGet;
using platform::profileSet;
using platform::upperAscii;

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

namespace {

// Settings files as people and editors leave them, in valid CP932, drawn
// from a seed. Where Wine's reader differs from ours the generator avoids
// exactly that case; each difference, with the choice made:
// - "[a]b]": Wine ends the name at the last "]", we at the first, since a
//   name ends at its "]". No "]" follows the one that ends a header.
// - Wine reads through Unicode, so bytes that are no CP932 character, and
//   characters CP932 holds twice (NEC and IBM rows), come back changed; we
//   return the file's bytes. Only JIS X 0208 and half-width katakana occur.
// - After a UTF-8 byte-order mark Wine decodes the file as UTF-8; we skip
//   the mark and read CP932, which is what we write. A file with a mark
//   holds ASCII only.
// - Wine takes a line without "=" for a key with no value that hides a later
//   line of the same key, and gives the default; we skip such a line and
//   read the later one. In the first section of a name no key follows a
//   line without "=" that reads as that key.
// - Wine trims blanks off the key asked; we match it as asked, since the
//   program asks fixed keys. Keys are asked trimmed.
// - Wine puts the lines above the first header in a section "" that hides
//   "[]"; we put them in none. The program never asks for "", nor does this.
// Wine trims blanks around a header's name ("[ Main ]"), which a file edited
// by hand may hold; so do we.
class IniGenerator {
public:
    explicit IniGenerator(unsigned seed) : rng_(seed) {}

    struct Ini {
        std::string text;
        std::vector<std::string> sections;  // to ask, with some that do not occur
        std::vector<std::string> keys;
    };

    Ini next() {
        Ini ini;
        const bool bom = chance(10);
        asciiOnly_ = bom;
        if (bom) ini.text = "\xEF\xBB\xBF";
        sectionWords_.clear();
        keyWords_.clear();
        for (int i = below(3) + 1; i > 0; --i) sectionWords_.push_back(word(6));
        for (int i = below(5) + 2; i > 0; --i) keyWords_.push_back(word(8));
        if (chance(50)) sectionWords_.push_back("FormMain");
        if (chance(50)) keyWords_.push_back("Left");

        std::set<std::string> headersSeen;
        std::set<std::string> asked = {"Missing"};
        std::set<std::string> askedKeys = {"Absent"};
        auto body = [&](bool firstOfItsName, int lines) {
            std::set<std::string> withoutValue;
            for (; lines > 0; --lines) {
                std::string line = bodyLine();
                const std::size_t eq = line.find('=');
                const std::string name = upperAscii(trim(line.substr(0, eq)));
                if (eq == std::string::npos) {
                    if (!name.empty()) withoutValue.insert(name);
                } else if (firstOfItsName && withoutValue.count(name)) {
                    continue;
                }
                if (eq != std::string::npos || !name.empty()) askedKeys.insert(trim(line.substr(0, eq)));
                ini.text += line + lineEnd();
            }
        };
        body(false, below(3));
        for (int blocks = below(6) + 1; blocks > 0; --blocks) {
            std::string name = chance(5) ? blanks() : withAsciiCase(pick(sectionWords_));
            if (chance(10)) name = blanks() + name + blanks();
            if (chance(5)) name = "[" + name;
            ini.text += blanks() + "[" + name + "]" + junk() + lineEnd();
            const bool first = headersSeen.insert(upperAscii(trim(name))).second;
            if (!trim(name).empty()) asked.insert(withAsciiCase(chance(50) ? name : trim(name)));
            body(first, below(7));
        }
        if (chance(20)) ini.text.resize(ini.text.find_last_not_of("\r\n") + 1);
        if (!asciiOnly_) asked.insert("ゾ");
        ini.sections.assign(asked.begin(), asked.end());
        for (const std::string& key : askedKeys) ini.keys.push_back(withAsciiCase(key));
        return ini;
    }

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return below(100) < percent; }
    const std::string& pick(const std::vector<std::string>& from) { return from[below(static_cast<int>(from.size()))]; }

    static std::string trim(const std::string& s) {
        const std::size_t first = s.find_first_not_of(" \t");
        if (first == std::string::npos) return "";
        return s.substr(first, s.find_last_not_of(" \t") - first + 1);
    }

    // Never a blank, "=", "[", "]" or a line break: those come from the
    // shapes of the lines.
    std::string character() {
        static const std::vector<std::string> ascii = {"a", "b", "k", "x", "Z",  "L", "e",  "F", "0", "7", "_",
                                                       "-", ".", ":", ";", "\"", "'", "\\", "/", "(", "!"};
        // Trail bytes "\\", "[", "]", "a", "c", "|", "@" among them.
        static const std::vector<std::string> japanese = {
            "ソ", "表", "能", "予", "十", "申", "ゼ", "ー", "ゾ", "ヂ", "ツ", "ポ", "ァ", "＠", "＝",
            "［", "］", "；", "設", "定", "窓", "あ", "ん", "漢", "字", "　", "Ａ", "ａ", "Ｚ", "ｚ",
            "０", "Ω",  "ω",  "Я",  "я",  "ｱ",  "ｶ",  "ﾞ",  "ﾟ",  "ｰ",  "｡",  "｢",  "｣",  "･"};
        if (asciiOnly_ || chance(60)) return pick(ascii);
        return pick(japanese);
    }

    std::string word(int maxChars) {
        const int n = below(maxChars) + 1;
        std::string out;
        for (int i = 0; i < n; ++i) {
            if (i > 0 && i < n - 1 && chance(10)) {
                out += chance(70) ? " " : "\t";
            } else {
                out += character();
            }
        }
        return out;
    }

    std::string blanks() {
        static const std::vector<std::string> shapes = {" ", "  ", "\t", " \t "};
        return chance(70) ? "" : pick(shapes);
    }

    std::string withAsciiCase(std::string s) {
        if (chance(60)) return s;
        return chance(50) ? upperAscii(s) : lowerAscii(s);
    }

    static std::string lowerAscii(std::string s) {
        for (std::size_t i = 0; i < s.size(); i += platform::charLength(s, i)) {
            if (s[i] >= 'A' && s[i] <= 'Z') s[i] = static_cast<char>(s[i] - 'A' + 'a');
        }
        return s;
    }

    std::string lineEnd() {
        if (chance(85)) return "\r\n";
        return chance(70) ? "\n" : "\r";
    }

    // What may follow a header's "]": never another "]".
    std::string junk() {
        switch (below(8)) {
        case 0: return " ; " + word(10);
        case 1: return word(6);
        case 2: return "=" + word(4);
        case 3: return blanks() + "[" + word(3);
        case 4: return blanks() + ";";
        default: return "";
        }
    }

    std::string value() {
        switch (below(10)) {
        case 0: return "";
        case 1: return "\"" + word(8) + "\"";
        case 2: return "'" + word(8) + "'";
        case 3: return "\"" + blanks() + word(6) + blanks() + "\"";
        case 4: return "\"" + word(6);
        case 5: return word(5) + "=" + word(5);
        case 6: return "[" + word(4) + "]" + word(3);
        default: return word(12);
        }
    }

    std::string bodyLine() {
        const int kind = below(20);
        if (kind < 11) {
            return blanks() + withAsciiCase(pick(keyWords_)) + blanks() + "=" + blanks() + value() + blanks();
        }
        if (kind < 13) return blanks() + withAsciiCase(chance(50) ? pick(keyWords_) : word(8)) + blanks();
        if (kind < 15) return blanks() + ";" + blanks() + word(10);
        if (kind < 17) return blanks();
        if (kind < 18) return blanks() + "[" + word(6) + (chance(50) ? "=" + word(5) : "");
        return blanks() + blanks() + "=" + value();
    }

    std::mt19937 rng_;
    bool asciiOnly_ = false;
    std::vector<std::string> sectionWords_;
    std::vector<std::string> keyWords_;
};

// Bytes outside printable ASCII as \xHH, so a failure prints readably.
std::string visible(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

}  // namespace

TEST(Win32Profile, GeneratedFilesReadAsGetPrivateProfileStringReadsThem) {
    if (GetACP() != 932) GTEST_SKIP() << "GetPrivateProfileStringA reads CP932 only under code page 932";
    constexpr unsigned kSeed = 20240611;
    constexpr int kFiles = 3000;
    IniGenerator generate(kSeed);
    win32test::TempFolder dir;
    int compared = 0;
    int failures = 0;
    for (int n = 0; n < kFiles && failures < 5; ++n) {
        const IniGenerator::Ini ini = generate.next();
        // Wine keeps a file it has read by name: every text gets a new one.
        const std::string path = dir / ("g" + std::to_string(n) + ".ini");
        win32test::put(path, ini.text);
        for (const std::string& section : ini.sections) {
            for (const std::string& key : ini.keys) {
                const std::string ours = profileGet(ini.text, section, key, "<none>");
                const std::string theirs = windowsGet(path, section, key);
                ++compared;
                if (ours == theirs) continue;
                ++failures;
                ADD_FAILURE() << "file " << n << " of seed " << kSeed << ": " << visible(ini.text) << "\n["
                              << visible(section) << "] " << visible(key) << ": ours \"" << visible(ours)
                              << "\", Windows \"" << visible(theirs) << "\"";
            }
        }
        DeleteFileA(path.c_str());
    }
    EXPECT_GT(compared, kFiles * 10);
}
