#include <gtest/gtest.h>

#include "platform/text.h"
#include "setfile/DroppedFile.h"
#include "setfile/Launch.h"
#include "setfile/SetFile.h"

using namespace setfile;

namespace {

std::string pair(const std::string& title, const std::string& item) { return title + "\r\n" + item + "\r\n"; }

}  // namespace

TEST(SetFileReader, LineEndsCrLfLoneLfAndCtrlZ) {
    // A lone LF is part of the line; CR alone ends it; Ctrl-Z ends the file.
    ReadResult r = parseSetFile(
        "A\nB=x\r|t\n|o\rC=y\r\n|u|\x1A"
        "D=z\r\n|v|\r\n");
    ASSERT_EQ(r.fault, Fault::None);
    EXPECT_EQ(r.items.slot(1).title, "A\nB");
    EXPECT_EQ(r.items.slot(1).target, "t\n");
    EXPECT_EQ(r.items.slot(1).options, "o");
    EXPECT_EQ(r.items.slot(2).title, "C");
    EXPECT_EQ(r.items.slot(2).target, "u");
    EXPECT_EQ(r.items.countInUse(), 2);

    // The last line may lack its CR LF, and a file may end after a title line.
    r = parseSetFile("A=1\r\nd|t|o");
    EXPECT_EQ(r.items.slot(1).options, "o");
    r = parseSetFile("A=1\r\n|t|\r\nB=2");
    ASSERT_EQ(r.fault, Fault::None);
    EXPECT_EQ(r.items.slot(2).title, "B");
    EXPECT_EQ(r.items.slot(2).target, "");
    EXPECT_EQ(parseSetFile("").items.countInUse(), 0);
}

TEST(SetFileReader, SkippedLineBreaksMarkTheReadAsPartial) {
    // Lines saved with LF alone run into the first title line's ignored rest.
    ReadResult r = parseSetFile("A=*\n|a|\nB=*\n|b|\n");
    EXPECT_EQ(r.items.countInUse(), 1);
    EXPECT_TRUE(r.skippedLineBreak);
    // Whole items after a Ctrl-Z; a Ctrl-Z that ends the file hides nothing.
    EXPECT_TRUE(parseSetFile(pair("A=*", "|a|") + "\x1A" + pair("B=*", "|b|")).skippedLineBreak);
    EXPECT_FALSE(parseSetFile(pair("A=*", "|a|") + "\x1A").skippedLineBreak);
    // Ignored bytes without a line break stay silent, as ever.
    r = parseSetFile(pair("Name=AB", "|a|") + pair("Three=*xyz", "|b|"));
    EXPECT_FALSE(r.skippedLineBreak);
    EXPECT_EQ(r.items.slot(1).key, "A");
    EXPECT_EQ(r.items.slot(2).key, " ");
    // A LF the reader keeps (in a title or a field) is no skipped byte.
    EXPECT_FALSE(parseSetFile(pair("A\nB=x", "|t\n|o\no")).skippedLineBreak);
}

TEST(SetFileReader, FieldsEndAtTheirFirstNul) {
    using namespace std::string_literals;
    // What runs is what the edit boxes show: an option after a NUL is no argument.
    ReadResult r = parseSetFile(pair("Ti\0tle=\0"s, "dir\0x|prog\0y|shown\0 hidden-arg"s));
    ASSERT_EQ(r.fault, Fault::None);
    EXPECT_EQ(r.items.slot(1).title, "Ti");
    EXPECT_EQ(r.items.slot(1).key, "");
    EXPECT_EQ(r.items.slot(1).directory, "dir");
    EXPECT_EQ(r.items.slot(1).target, "prog");
    EXPECT_EQ(r.items.slot(1).options, "shown");
    EXPECT_FALSE(r.skippedLineBreak);
    // The limits still count the bytes after the NUL, as before.
    EXPECT_EQ(parseSetFile(pair("A=*", "|p|x\0"s + std::string(128, 'y'))).fault, Fault::OptionsTooLong);
    EXPECT_TRUE(parseSetFile(pair("A=*", "|p|x\0\n"s)).skippedLineBreak);
}

TEST(SetFileReader, TitleLineKeys) {
    ReadResult r =
        parseSetFile(pair("Name=", "||") + pair("Star=*", "||") + pair("Two=AB", "||") + pair("A=B=C", "||"));
    ASSERT_EQ(r.fault, Fault::None);
    EXPECT_EQ(r.items.slot(1).key, "");
    EXPECT_EQ(r.items.slot(2).key, " ");
    EXPECT_EQ(r.items.slot(3).key, "A");
    EXPECT_EQ(r.items.slot(4).title, "A");
    EXPECT_EQ(r.items.slot(4).key, "B");
    EXPECT_EQ(listLine(r.items.slot(1)), "  Name");
    EXPECT_EQ(listLine(r.items.slot(2)), "   Star");
}

TEST(SetFileReader, ItemLineSeparators) {
    ReadResult r = parseSetFile(pair("X=1", "d|t|a|b"));
    EXPECT_EQ(r.items.slot(1).directory, "d");
    EXPECT_EQ(r.items.slot(1).target, "t");
    EXPECT_EQ(r.items.slot(1).options, "a|b");
    // "=" and "|" are found bytewise: a trail byte never hides them, and a
    // title may hold "|" while an item line may hold "=".
    r = parseSetFile(pair("表|示=k", "a=b|c=d|e=f"));
    EXPECT_EQ(r.items.slot(1).title, "表|示");
    EXPECT_EQ(r.items.slot(1).directory, "a=b");
}

TEST(SetFileReader, LimitsCountBytes) {
    const std::string t48(48, 't'), f128(128, 'f');
    ReadResult r = parseSetFile(pair(t48 + "=1", f128 + "|" + f128 + "|" + f128));
    ASSERT_EQ(r.fault, Fault::None);
    EXPECT_EQ(r.items.slot(1).options.size(), 128u);

    std::string kanji24, kanji25;
    for (int i = 0; i < 24; ++i) kanji24 += "漢";
    kanji25 = kanji24 + "字";
    EXPECT_EQ(parseSetFile(pair(kanji24 + "=1", "||")).fault, Fault::None);
    r = parseSetFile(pair("ok=1", "||") + pair(kanji25 + "=1", "||"));
    EXPECT_EQ(r.fault, Fault::TitleTooLong);
    EXPECT_EQ(r.itemNumber, 2);

    EXPECT_EQ(parseSetFile(pair("x=1", f128 + "f||")).fault, Fault::DirectoryTooLong);
    EXPECT_EQ(parseSetFile(pair("x=1", "|" + f128 + "f|")).fault, Fault::TargetTooLong);
    EXPECT_EQ(parseSetFile(pair("x=1", "||" + f128 + "f")).fault, Fault::OptionsTooLong);
}

TEST(SetFileReader, FaultsKeepWhatWasStoredBefore) {
    ReadResult r = parseSetFile(pair("A=1", "d|t|o") + "B=2\r\nonly-dir|\r\n");
    EXPECT_EQ(r.fault, Fault::NoTargetSeparator);
    EXPECT_EQ(r.itemNumber, 2);
    EXPECT_EQ(r.items.slot(2).title, "B");
    EXPECT_EQ(r.items.slot(2).directory, "only-dir");
    EXPECT_EQ(r.items.slot(2).target, "");

    r = parseSetFile(pair("A=1", "||") + "B=2\r\nno separator\r\n");
    EXPECT_EQ(r.fault, Fault::NoDirectorySeparator);
    EXPECT_EQ(r.items.slot(2).title, "B");

    // An extra CR LF after the last pair is a title line without "=".
    r = parseSetFile(pair("A=1", "||") + "\r\n");
    EXPECT_EQ(r.fault, Fault::NoTitleSeparator);
    EXPECT_EQ(r.itemNumber, 2);
    EXPECT_EQ(r.items.countInUse(), 1);

    std::string full;
    for (int i = 1; i <= 16; ++i) full += pair("T" + std::to_string(i) + "=1", "||");
    r = parseSetFile(full + "extra");
    EXPECT_EQ(r.fault, Fault::TooManyLines);
    EXPECT_EQ(r.items.countInUse(), 16);
    EXPECT_EQ(parseSetFile(full).fault, Fault::None);
}

TEST(SetFileReader, TitlelessEntriesAreNoItems) {
    ReadResult r = parseSetFile(pair("=", "||"));
    EXPECT_EQ(r.items.countInUse(), 0);
    EXPECT_EQ(listLines(r.items), std::vector<std::string>{""});

    // Later items move up so that list line i shows slot i+1.
    r = parseSetFile(pair("A=a", "|ta|") + pair("=x", "|hidden|") + pair("C=c", "|tc|"));
    ASSERT_EQ(r.fault, Fault::None);
    EXPECT_EQ(r.items.slot(2).title, "C");
    EXPECT_EQ(r.items.slot(2).target, "tc");
    EXPECT_TRUE(r.items.slot(3).title.empty() && r.items.slot(3).target.empty());
    EXPECT_EQ(listLines(r.items), (std::vector<std::string>{"a  A", "c  C"}));
}

TEST(SetFileWriter, WritingRuleRoundTrips) {
    ItemTable t;
    t.slot(1) = {"Edit.exe", "C:\\Tools\\Edit.exe", "", "C:\\Tools", " "};
    t.slot(2) = {"表示", "t", "a|b", "d", "\\"};
    t.slot(3) = {"NoKey", "", "", "", ""};
    std::string bytes = formatSetFile(t, 3);
    EXPECT_EQ(bytes, "Edit.exe=*\r\nC:\\Tools|C:\\Tools\\Edit.exe|\r\n表示=\\\r\nd|t|a|b\r\nNoKey=\r\n||\r\n");
    ReadResult r = parseSetFile(bytes);
    ASSERT_EQ(r.fault, Fault::None);
    EXPECT_EQ(r.items, t);
    EXPECT_EQ(formatSetFile(ItemTable{}, 1), "=\r\n||\r\n");
}

TEST(SetFileMessages, PiecesAndNumbers) {
    setfile::Bilingual m = faultMessage(Fault::TitleTooLong, 12);
    EXPECT_EQ(m.ja, "    12 項目のタイトルは４８文字までです。     ");
    EXPECT_EQ(m.en, "    Target Title of Item 12 is max 48 characters.   ");
    m = faultMessage(Fault::DirectoryTooLong, 3);
    EXPECT_EQ(m.en, "    Start in directory of Item 3 is max 128 characters.   ");
    EXPECT_EQ(faultMessage(Fault::TooManyLines, 17).en, "   Launcher set file is max 32 lines.   ");
}

TEST(ItemRefusal, RefusesWhatWouldNotReadBack) {
    auto check = [](LauncherItem boxes) {
        std::optional<Bilingual> m = itemRefusal(boxes, 3);
        return m ? m->en : std::string();
    };
    EXPECT_EQ(check({"", "", "", "", ""}), "    Please set target title.   ");
    EXPECT_EQ(check({" ", "", "", "", ""}), "    Please set target file name.   ");
    EXPECT_EQ(check({"T", "t", "", "", ""}), "");
    EXPECT_EQ(check({"a=b", "t", "", "", ""}), "    Target title can not contain \"=\".   ");
    EXPECT_EQ(check({"T", "a|b", "", "", ""}), "    Target file name can not contain \"|\".   ");
    EXPECT_EQ(check({"T", "t", "", "d|e", ""}), "    Start in directory can not contain \"|\".   ");
    EXPECT_EQ(check({"T", "t", "x|y=z", "", "="}), "");  // options and key may hold both
    EXPECT_EQ(check({"T", "t", "a\nb", "", ""}), "    Line breaks and control characters can not be used.   ");
    EXPECT_EQ(check({"T", "t", "", "", "\r"}), "    Line breaks and control characters can not be used.   ");
    EXPECT_EQ(check({"T", "t", "a\tb", "", ""}), "    Line breaks and control characters can not be used.   ");
    EXPECT_EQ(check({"T", "t", "", "", std::string(1, '\0')}),
              "    Line breaks and control characters can not be used.   ");
    // "*" is how a title line says "no key": it would not read back as a key.
    EXPECT_EQ(check({"T", "t", "", "", "*"}), "    Shortcut key can not be \"*\".   ");
    // Ctrl-Z would end the file when it is read back.
    EXPECT_EQ(check({"Al\x1A"
                     "pha",
                     "t", "", "", ""}),
              "    Line breaks and control characters can not be used.   ");
    EXPECT_EQ(check({std::string(49, 'x'), "t", "", "", ""}), "    Target Title of Item 3 is max 48 characters.   ");
    EXPECT_EQ(check({"T", std::string(129, 't'), "", "", ""}), "    Target of Item 3 is max 128 characters.   ");
    EXPECT_EQ(check({"T", "t", "", std::string(129, 'd'), ""}),
              "    Start in directory of Item 3 is max 128 characters.   ");
    // Several rules broken: the first in the one order every maker of items keeps.
    EXPECT_EQ(check({std::string(48, 'x') + "=", "a|b", "", "", ""}),
              "    Target Title of Item 3 is max 48 characters.   ");
    EXPECT_EQ(check({"a=b", "t", "", std::string(129, 'd'), ""}), "    Target title can not contain \"=\".   ");
    EXPECT_EQ(check({"T", "a|b", "", "d|e", "*"}), "    Start in directory can not contain \"|\".   ");
    // What passes reads back from the set file exactly as it was typed.
    LauncherItem ok{std::string(24 * 2, 'x'), "t", std::string(128, 'o'), "d", "="};
    ASSERT_EQ(check(ok), "");
    ItemTable t;
    t.slot(1) = ok;
    EXPECT_EQ(setfile::parseSetFile(setfile::formatSetFile(t, 1)).items, t);
}

TEST(DroppedFile, ItemFromPathAndWhatCannotReadBack) {
    const std::string sep(platform::pathSeparator());
    const std::string dir = sep + "d" + sep + "表";  // 表 ends in 0x5C
    LauncherItem item = itemFromDroppedPath(dir + sep + "a 表.exe");
    EXPECT_EQ(item, (LauncherItem{"a 表.exe", dir + sep + "a 表.exe", "", dir, " "}));
    EXPECT_EQ(itemFromDroppedPath("plain").directory, "");
    EXPECT_EQ(itemFromDroppedPath("plain").title, "plain");
    EXPECT_EQ(dropRefusal(item, 3), std::nullopt);

    auto refused = [](const std::string& path) { return dropRefusal(itemFromDroppedPath(path), 3); };
    EXPECT_EQ(refused("")->en, kRefusals.codePage.en);  // the backend lost the name
    const std::string x = sep + "x" + sep;
    EXPECT_EQ(refused(x + "a\rb")->en, kRefusals.lineEnding.en);
    EXPECT_EQ(refused(x + "a\nb")->en, kRefusals.lineEnding.en);
    EXPECT_EQ(refused(x + "a=b")->en, kRefusals.equalsInTitle.en);
    EXPECT_EQ(refused(sep + "x|y" + sep + "b")->en, kRefusals.barInDirectory.en);
    EXPECT_EQ(refused(x + std::string(49, 't'))->en, faultMessage(Fault::TitleTooLong, 3).en);
    EXPECT_EQ(refused(sep + std::string(128, 'd') + sep + "t")->en, faultMessage(Fault::DirectoryTooLong, 3).en);
}

TEST(Launch, AfterLaunchActionFromParametersOrSettings) {
    auto decide = [](std::vector<std::string> parameters, const std::string& state) {
        AfterLaunch a = decideAfterLaunch(parameters, state);
        return std::string(a.close ? "close" : "") + (a.minimize ? "minimize" : "");
    };
    EXPECT_EQ(decide({}, "/C"), "");
    EXPECT_EQ(decide({}, "/N"), "minimize");
    EXPECT_EQ(decide({}, "/I"), "minimize");
    EXPECT_EQ(decide({}, "/Z"), "close");
    EXPECT_EQ(decide({}, "/c"), "close");  // the settings' codes are taken in upper case only
    EXPECT_EQ(decide({}, ""), "close");
    // With parameters only the second counts, in either case, whatever the settings say.
    EXPECT_EQ(decide({"A.PRG"}, "/C"), "close");
    EXPECT_EQ(decide({"A.PRG", "/c"}, "/Z"), "");
    EXPECT_EQ(decide({"A.PRG", "/i", "1", "2"}, ""), "minimize");
    EXPECT_EQ(decide({"A.PRG", "/X"}, "/C"), "close");
    // The start-minimised notice asks the same question.
    EXPECT_EQ(startState({"A.PRG", "/i"}, "/C"), "/I");
    EXPECT_EQ(startState({"A.PRG"}, "/I"), "");
    EXPECT_EQ(startState({}, "/i"), "/i");
    EXPECT_EQ(launchFailure(7, true).en, "    Target 7  Item can not execute.   ");
    EXPECT_EQ(launchFailure(7, false).en, "    Target 7 Item can not execute.   ");
}
