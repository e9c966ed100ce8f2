// The editor's operations on the item table, as pure functions. Slots are
// numbered from 1; n is the number of list lines (1 for the placeholder).
#pragma once

#include "setfile/SetFile.h"

namespace editor {

// Exchanges slots a and b.
void swapSlots(setfile::ItemTable& items, int a, int b);

// Removes slot s of n: later slots move up, slot n becomes empty. Returns
// the removed item.
setfile::LauncherItem removeSlot(setfile::ItemTable& items, int s, int n);

// Inserts the item at slot s of n: slots s..n move down one (n < 16).
void insertSlot(setfile::ItemTable& items, int s, int n, const setfile::LauncherItem& item);

// Browse: the boxes filled from a chosen file path.
struct BrowseResult {
    std::string title;  // the file name, when the title box was empty
    std::string target;
    std::string directory;  // as platform::splitFolderAndName gives it
};
BrowseResult fromChosenFile(const std::string& path, const std::string& currentTitle);

}  // namespace editor
