#include <gtest/gtest.h>

#include "generate/Companion.h"
#include "generate/DefaultSetFiles.h"
#include "platform/text.h"

using generate::CompanionFault;
using generate::defaultSetFiles;
using generate::parseCompanionFile;

TEST(DefaultSetFiles, TopFileLeadsToNineSubFilesThatLeadBack) {
    const std::string sep(platform::pathSeparator());
    const std::string P = "/opt/t" + sep, W = "C:\\WINDOWS\\";
    auto files = defaultSetFiles(false, W, P, "tarvo", "WINNT");
    ASSERT_EQ(files.size(), 10u);
    EXPECT_EQ(files[0].name, "TARVO90.PRG");
    EXPECT_EQ(files[9].name, "TARVO99.PRG");

    const auto& top = files[0];
    EXPECT_EQ(top.count, 11);  // nine menus, then explorer and paint
    EXPECT_EQ(top.items.slot(1), (setfile::LauncherItem{"TARVO(FILER)", P + "tarvo", "TARVO91.PRG", P, "1"}));
    EXPECT_EQ(top.items.slot(9).title, "TARVO(999)");
    EXPECT_EQ(top.items.slot(9).options, "TARVO99.PRG");
    EXPECT_EQ(top.items.slot(10), (setfile::LauncherItem{"EXPLORER(WinNT)", W + "EXPLORER.EXE", "", W, "E"}));
    EXPECT_EQ(top.items.slot(11).target, W + "SYSTEM32\\PBRUSH.EXE");

    // The back item is keyed "\" so that Backspace goes up the tree.
    const auto& bat = files[3];
    EXPECT_EQ(bat.items.slot(1), (setfile::LauncherItem{"< .. > BAT", P + "tarvo", "TARVO90.PRG", P, "\\"}));
    ASSERT_EQ(bat.count, 3);
    EXPECT_EQ(bat.items.slot(2).key, "\\");  // the batch file runs its programs with BAT
    EXPECT_EQ(bat.items.slot(3).key, "\\");
    EXPECT_EQ(files[4].count, 1);
}

TEST(DefaultSetFiles, FamilyAndSystemKindChooseNamesAndPrograms) {
    auto win95 = defaultSetFiles(true, "W\\", "P\\", "TARVO16.EXE", "windows");
    EXPECT_EQ(win95[0].name, "TARVO80.PRG");
    EXPECT_EQ(win95[1].items.slot(1).options, "TARVO80.PRG");
    EXPECT_EQ(win95[0].items.slot(10).title, "EXPLORER(Win95)");
    EXPECT_EQ(win95[0].items.slot(11).target, "W\\PBRUSH.EXE");

    // Only the 16-bit family falls back to the Windows 3.1 programs.
    auto win31 = defaultSetFiles(true, "W\\", "P\\", "TARVO16.EXE", "");
    EXPECT_EQ(win31[1].items.slot(2), (setfile::LauncherItem{"FILE MANAGER(Win31)", "W\\WINFILE.EXE", "", "W\\", "F"}));
    auto none = defaultSetFiles(false, "W\\", "P\\", "TARVO.EXE", "OS/2");
    EXPECT_EQ(none[0].count, 9);
    EXPECT_EQ(none[1].count, 1);
}

TEST(DefaultSetFiles, ProgramNamesAndTheirFamilies) {
    auto top = [](const std::string& name) {
        auto family = generate::programFamily(name);
        return family ? std::string(family->topSetFile) + (family->family16 ? " 16" : "") : "none";
    };
    EXPECT_EQ(top("TARVO.EXE"), "TARVO90.PRG");
    EXPECT_EQ(top("tarvo16.exe"), "TARVO80.PRG 16");
    // A name without extension stands for one with ".EXE": the Linux program files.
    EXPECT_EQ(top("tarvo"), "TARVO90.PRG");
    EXPECT_EQ(top("Tarvo16"), "TARVO80.PRG 16");
    EXPECT_EQ(top("tarvo.bin"), "none");
    EXPECT_EQ(top("TARVO2.EXE"), "none");
}

TEST(DefaultSetFiles, EveryFileReadsBackAsWritten) {
    for (const auto& f : defaultSetFiles(false, "C:\\WINDOWS\\", "/opt/t/", "tarvo", "WINNT")) {
        setfile::ReadResult r = setfile::parseSetFile(setfile::formatSetFile(f.items, f.count));
        EXPECT_EQ(r.fault, setfile::Fault::None) << f.name;
        EXPECT_EQ(r.items, f.items) << f.name;
    }
    // The longest directories the environment dialog accepts still give
    // items that the one item check accepts.
    const std::string program = "TARVO16.EXE";
    const std::string windowsDir = "C:\\" + std::string(128 - 19 - 4, 'w') + "\\";
    const std::string programDir = "C:\\" + std::string(128 - program.size() - 4, 'p') + "\\";
    ASSERT_EQ(generate::directoryRefusal(windowsDir, programDir, program), std::nullopt);
    EXPECT_NE(generate::directoryRefusal(windowsDir + "w", programDir, program), std::nullopt);
    for (const char* kind : {"WINNT", "WINDOWS", ""}) {
        for (const auto& f : defaultSetFiles(true, windowsDir, programDir, program, kind)) {
            for (int n = 1; n <= f.count; ++n) {
                EXPECT_EQ(setfile::itemRefusal(f.items.slot(n), n), std::nullopt) << f.name << " item " << n;
            }
        }
    }
}

TEST(CompanionReader, TakesTitleLinesFromEvenLinesOnly) {
    auto r = parseCompanionFile("header\r\nOne=1\r\nskipped=x\r\nTwo=*\r\n\r\nThree=\r\n");
    ASSERT_EQ(r.fault, CompanionFault::None);
    EXPECT_EQ(r.titles[0].title, "One");
    EXPECT_EQ(r.titles[0].key, "1");
    EXPECT_EQ(r.titles[1].key, " ");
    EXPECT_EQ(r.titles[2].title, "Three");
    EXPECT_EQ(r.titles[2].key, "");
    EXPECT_EQ(r.titles[3].title, "");
}

TEST(CompanionReader, FaultsStopReadingAndNumberTheItem) {
    auto r = parseCompanionFile("x\r\nA=1\r\nx\r\nno separator\r\nx\r\nC=3\r\n");
    EXPECT_EQ(r.fault, CompanionFault::NoTitleSeparator);
    EXPECT_EQ(r.itemNumber, 2);
    EXPECT_EQ(r.titles[0].title, "A");
    EXPECT_EQ(r.titles[2].title, "");

    r = parseCompanionFile("x\r\n" + std::string(49, 't') + "=1\r\n");
    EXPECT_EQ(r.fault, CompanionFault::TitleTooLong);

    std::string lines;
    for (int i = 1; i <= 97; ++i) lines += (i % 2 ? "x" : "T=k") + std::string("\r\n");
    EXPECT_EQ(parseCompanionFile(lines).fault, CompanionFault::None);
    EXPECT_EQ(parseCompanionFile(lines + "x\r\n").fault, CompanionFault::TooManyLines);
    EXPECT_EQ(generate::companionFaultMessage(CompanionFault::TooManyLines, 0).en,
              "   Launcher set file is max 97 lines.   ");
}
