#include <gtest/gtest.h>

#include "editor/ItemDialog.h"
#include "editor/ItemEditing.h"
#include "setfile/DroppedFile.h"

using setfile::ItemTable;
using setfile::LauncherItem;

namespace {

ItemTable table(std::initializer_list<const char*> titles) {
    ItemTable t;
    int n = 1;
    for (const char* title : titles) t.slot(n++) = {title, std::string("/bin/") + title, "", "", " "};
    return t;
}

std::vector<std::string> titles(const ItemTable& t) {
    std::vector<std::string> out;
    for (int n = 1; n <= setfile::kSlots; ++n) out.push_back(t.slot(n).title);
    while (!out.empty() && out.back().empty()) out.pop_back();
    return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(ItemEditing, RemoveAndInsertKeepSlotsContiguous) {
    ItemTable t = table({"a", "b", "c", "d"});
    LauncherItem removed = editor::removeSlot(t, 2, 4);
    EXPECT_EQ(removed.title, "b");
    EXPECT_EQ(removed.target, "/bin/b");
    EXPECT_EQ(titles(t), (V{"a", "c", "d"}));
    EXPECT_EQ(t.slot(4), LauncherItem{});

    editor::insertSlot(t, 1, 3, removed);
    EXPECT_EQ(titles(t), (V{"b", "a", "c", "d"}));
    editor::insertSlot(t, 5, 4, removed);  // at the end
    EXPECT_EQ(titles(t), (V{"b", "a", "c", "d", "b"}));
    editor::swapSlots(t, 2, 3);
    EXPECT_EQ(titles(t), (V{"b", "c", "a", "d", "b"}));

    ItemTable full = table({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15"});
    editor::insertSlot(full, 15, 15, removed);
    EXPECT_EQ(full.slot(15).title, "b");
    EXPECT_EQ(full.slot(16).title, "15");
}

TEST(ItemEditing, BrowseSplitsAtTheLastSeparator) {
#ifndef _WIN32
    editor::BrowseResult r = editor::fromChosenFile("/usr/表/vi", "");
    EXPECT_EQ(r.title, "vi");
    EXPECT_EQ(r.target, "/usr/表/vi");
    EXPECT_EQ(r.directory, "/usr/表");
    // A file in the root starts in the root, as a dropped one does.
    r = editor::fromChosenFile("/vi", "Mine");
    EXPECT_EQ(r.title, "Mine");
    EXPECT_EQ(r.directory, "/");
    EXPECT_EQ(setfile::itemFromDroppedPath("/vi").directory, r.directory);
#else
    // "表" ends in 0x5C, which is no separator.
    editor::BrowseResult r = editor::fromChosenFile("C:\\表\\vi.exe", "");
    EXPECT_EQ(r.title, "vi.exe");
    EXPECT_EQ(r.target, "C:\\表\\vi.exe");
    EXPECT_EQ(r.directory, "C:\\表");
    r = editor::fromChosenFile("C:\\vi.exe", "Mine");
    EXPECT_EQ(r.title, "Mine");
    EXPECT_EQ(r.directory, "C:");
    EXPECT_EQ(setfile::itemFromDroppedPath("C:\\vi.exe").directory, r.directory);
#endif
}

TEST(ItemBoxes, RefuseWhatWouldNotReadBack) {
    auto check = [](LauncherItem boxes) {
        std::optional<setfile::Bilingual> m = editor::checkItemBoxes(boxes, 3);
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
    // What passes reads back from the set file exactly as it was typed.
    LauncherItem ok{std::string(24 * 2, 'x'), "t", std::string(128, 'o'), "d", "="};
    ASSERT_EQ(check(ok), "");
    ItemTable t;
    t.slot(1) = ok;
    EXPECT_EQ(setfile::parseSetFile(setfile::formatSetFile(t, 1)).items, t);
}
