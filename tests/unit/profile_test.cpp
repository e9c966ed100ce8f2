#include "platform/profile.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/errors.h"

using platform::profileGet;
using platform::profileSet;

TEST(ProfileGet, MatchesIgnoringAsciiCaseAndTakesTheFirstMatch) {
    const std::string ini =
        "Top=outside\r\n"
        "[Main]\r\n"
        "Path=first\r\n"
        "PATH=second\r\n"
        "[Other]\r\n"
        "Only=other\r\n"
        "[MAIN]\r\n"
        "Path=later section\r\n"
        "Late=later section\r\n"
        "[ア]\r\n"
        "ア=katakana a\r\n";
    EXPECT_EQ(profileGet(ini, "main", "path", "-"), "first");
    EXPECT_EQ(profileGet(ini, "MAIN", "pAtH", "-"), "first");
    EXPECT_EQ(profileGet(ini, "main", "Late", "-"), "-");  // a repeated section is never searched
    EXPECT_EQ(profileGet(ini, "main", "Only", "-"), "-");
    EXPECT_EQ(profileGet(ini, "main", "Top", "-"), "-");
    EXPECT_EQ(profileGet(ini, "missing", "Path", "fallback"), "fallback");
    EXPECT_EQ(profileGet(ini, "ア", "ア", "-"), "katakana a");
    // ヂ is 0x83 0x61: its trail byte is "a", which must not be folded to "A" (ア).
    EXPECT_EQ(profileGet(ini, "ヂ", "ア", "-"), "-");
    EXPECT_EQ(profileGet(ini, "ア", "ヂ", "-"), "-");
}

TEST(ProfileGet, TrimsBlanksAndOnePairOfQuotes) {
    const std::string ini =
        " \t[s] \t\nplain = \t value x \t\ndq=\" a b \"\nsq='x'\nnested=\"\"x\"\"\n"
        "mixed=\"x'\nlone=\"\nempty=\n";
    EXPECT_EQ(profileGet(ini, "s", "plain", "-"), "value x");
    EXPECT_EQ(profileGet(ini, "s", "dq", "-"), " a b ");
    EXPECT_EQ(profileGet(ini, "s", "sq", "-"), "x");
    EXPECT_EQ(profileGet(ini, "s", "nested", "-"), "\"x\"");
    EXPECT_EQ(profileGet(ini, "s", "mixed", "-"), "\"x'");
    EXPECT_EQ(profileGet(ini, "s", "lone", "-"), "\"");
    EXPECT_EQ(profileGet(ini, "s", "empty", "-"), "");
}

TEST(ProfileGet, ReadsEveryLineEndAndKeepsKanjiBracketsOutOfHeaders) {
    // "[ゾ" ends in byte 0x5D (the trail of ゾ), yet it is no section header.
    const std::string ini = "[a]\rone=1\r\ntwo=2\n[ゾ\rthree=3\r[ゾ]\r\nfour=4";
    EXPECT_EQ(profileGet(ini, "a", "one", "-"), "1");
    EXPECT_EQ(profileGet(ini, "a", "two", "-"), "2");
    EXPECT_EQ(profileGet(ini, "a", "three", "-"), "3");
    EXPECT_EQ(profileGet(ini, "ゾ", "four", "-"), "4");
}

TEST(ProfileGet, ASectionNameEndsAtItsBracketWithoutBlanksAndAByteOrderMarkIsSkipped) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string ini = bom +
                            "[ FormMain\t] ; by hand\r\nLeft=1\r\n[Language]junk\r\nJapanese=2\r\n"
                            "[ゾ]ゾ]\r\nk=3\r\n[a]b]\r\nk=4\r\n";
    EXPECT_EQ(profileGet(ini, "FormMain", "Left", "-"), "1");
    EXPECT_EQ(profileGet(ini, " formmain ", "Left", "-"), "1");
    EXPECT_EQ(profileGet(ini, "Language", "Japanese", "-"), "2");
    // The trail byte of ゾ is "]": the first "]" of its own ends the name.
    EXPECT_EQ(profileGet(ini, "ゾ", "k", "-"), "3");
    EXPECT_EQ(profileGet(ini, "a", "k", "-"), "4");
    EXPECT_EQ(profileGet(ini, "a]b", "k", "-"), "-");
    // Only at the very start is it a byte-order mark.
    EXPECT_EQ(profileGet("\r\n" + bom + "[s]\r\nk=5\r\n", "s", "k", "-"), "-");
}

TEST(ProfileGet, ReturnsAtMost1023BytesWithoutSplittingACharacter) {
    const std::string longAscii(1500, 'x');
    EXPECT_EQ(profileGet("[s]\nk=" + longAscii, "s", "k", ""), longAscii.substr(0, 1023));
    const std::string kanjiAtLimit = std::string(1022, 'x') + "表";
    EXPECT_EQ(profileGet("[s]\nk=" + kanjiAtLimit, "s", "k", ""), std::string(1022, 'x'));
}

TEST(ProfileSet, RewritesInsertsAndAppendsKeepingOtherLines) {
    const std::string ini = "; head comment\n[Main]\n  KeyA = old \nloose line\n[ゾ\n\n[Next]\nb=2";
    EXPECT_EQ(profileSet(ini, "MAIN", "keya", "new"),
              "; head comment\r\n[Main]\r\nKeyA=new\r\nloose line\r\n[ゾ\r\n\r\n[Next]\r\nb=2\r\n");
    EXPECT_EQ(profileSet(ini, "main", "Added", "表"),
              "; head comment\r\n[Main]\r\n  KeyA = old \r\nAdded=表\r\nloose line\r\n[ゾ\r\n\r\n[Next]\r\nb=2\r\n");
    EXPECT_EQ(
        profileSet(ini, "New", "k", "v"),
        "; head comment\r\n[Main]\r\n  KeyA = old \r\nloose line\r\n[ゾ\r\n\r\n[Next]\r\nb=2\r\n[New]\r\nk=v\r\n");
    EXPECT_EQ(profileSet("[Empty]\r\n; note\r\n[Dup]\r\n[empty]\r\nk=x\r\n", "empty", "k", "v"),
              "[Empty]\r\nk=v\r\n; note\r\n[Dup]\r\n[empty]\r\nk=x\r\n");
    EXPECT_EQ(profileSet("", "s", "k", "v"), "[s]\r\nk=v\r\n");
}

TEST(ProfileSet, ChangesTheSectionGetReadsInsteadOfAppendingAnother) {
    const std::string ini = "\xEF\xBB\xBF[ FormMain ] ; by hand\r\nLeft=1\r\n[Language]junk\r\nJapanese=0\r\n";
    std::string changed = profileSet(ini, "FormMain", "Left", "5");
    changed = profileSet(changed, "Language", "Japanese", "1");
    changed = profileSet(changed, "Language", "English", "0");
    EXPECT_EQ(changed, "\xEF\xBB\xBF[ FormMain ] ; by hand\r\nLeft=5\r\n[Language]junk\r\nJapanese=1\r\nEnglish=0\r\n");
}

TEST(ProfileSet, RoundTripsThroughGet) {
    std::string ini;
    const std::map<std::string, std::string> values = {
        {"Path", "C:\\ﾌｧｲﾙ\\表示.txt"}, {"path2", "a=b=c"}, {"Blank", ""}, {"Long", std::string(1023, 'y')}};
    for (const auto& [key, value] : values) ini = profileSet(ini, "Files", key, value);
    ini = profileSet(ini, "FILES", "path2", "changed");
    for (const auto& [key, value] : values) {
        EXPECT_EQ(profileGet(ini, "files", key, "-"), key == "path2" ? "changed" : value) << key;
    }
}

namespace {

class FakeFiles : public platform::Files {
public:
    std::map<std::string, std::string> stored;
    std::optional<int> readError;
    std::optional<int> writeError;
    int writes = 0;

    bool exists(const std::string& path) override { return stored.count(path) != 0; }
    std::string read(const std::string& path) override {
        if (readError) throw platform::IOError(*readError);
        return stored.at(path);
    }
    std::unique_ptr<platform::PendingWrite> prepareWrite(const std::string& path, const std::string& bytes) override {
        return std::make_unique<platform::DeferredWrite>([this, path, bytes] {
            ++writes;
            if (writeError) throw platform::IOError(*writeError);
            stored[path] = bytes;
            return platform::WriteResult::Durable;
        });
    }
    std::unique_ptr<platform::FileLock> lockForWriting(const std::string&, int) override {
        return std::make_unique<platform::FileLock>();
    }
};

}  // namespace

TEST(IniFile, ReadsOnceAndWritesEveryChangeInOneWrite) {
    FakeFiles files;
    files.stored["a.ini"] = "; kept\r\n[s]\r\nk=old\r\n";
    platform::IniFile ini(files, "a.ini");
    EXPECT_TRUE(ini.readable());
    EXPECT_EQ(ini.get("S", "K", "-"), "old");
    ini.set("s", "k", "new");
    ini.set("t", "x", "1");
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(ini.save(), platform::WriteResult::Durable);
    EXPECT_EQ(files.writes, 1);
    EXPECT_EQ(files.stored["a.ini"], "; kept\r\n[s]\r\nk=new\r\n[t]\r\nx=1\r\n");

    platform::IniFile fresh(files, "new.ini");
    fresh.set("s", "k", "v");
    EXPECT_TRUE(fresh.readable());
    EXPECT_EQ(fresh.save(), platform::WriteResult::Durable);
    EXPECT_EQ(files.stored["new.ini"], "[s]\r\nk=v\r\n");

    // A file that could not be read is never replaced by the few keys set.
    files.readError = 5;
    platform::IniFile unreadable(files, "a.ini");
    EXPECT_FALSE(unreadable.readable());
    EXPECT_EQ(unreadable.get("s", "k", "-"), "-");
    unreadable.set("s", "k", "lost");
    EXPECT_EQ(unreadable.save(), std::nullopt);
    EXPECT_EQ(files.writes, 2);

    files.readError.reset();
    files.writeError = 101;
    platform::IniFile full(files, "a.ini");
    full.set("s", "k", "w");
    EXPECT_EQ(full.save(), std::nullopt);
    EXPECT_EQ(files.stored["a.ini"], "; kept\r\n[s]\r\nk=new\r\n[t]\r\nx=1\r\n");
}

TEST(IniFile, OneOverItsLimitIsReadInPartAndNeverWrittenBack) {
    FakeFiles files;
    std::string big = "[s]\r\nk=v\r\n" + std::string(platform::IniFile::kReadLimit, ';');
    files.stored["big.ini"] = big;
    platform::IniFile ini(files, "big.ini");
    EXPECT_FALSE(ini.readable());
    EXPECT_EQ(ini.get("s", "k", "-"), "v");
    ini.set("s", "k", "w");
    EXPECT_EQ(ini.save(), std::nullopt);
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(files.stored["big.ini"], big);
}

TEST(IniFile, SaveTellsHowTheWriteLeftTheFile) {
    // A folder that could not be flushed after the rename.
    struct UnflushedFolder : FakeFiles {
        std::unique_ptr<platform::PendingWrite> prepareWrite(const std::string& path,
                                                             const std::string& bytes) override {
            return std::make_unique<platform::DeferredWrite>([this, path, bytes] {
                stored[path] = bytes;
                return platform::WriteResult::FolderNotFlushed;
            });
        }
    } files;
    platform::IniFile ini(files, "a.ini");
    ini.set("s", "k", "v");
    EXPECT_EQ(ini.save(), platform::WriteResult::FolderNotFlushed);
    EXPECT_EQ(files.stored["a.ini"], "[s]\r\nk=v\r\n");
}
