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
