#include "editor/ItemEditing.h"

#include <cassert>
#include <utility>

#include "platform/text.h"

namespace editor {

using setfile::ItemTable;
using setfile::LauncherItem;

void swapSlots(ItemTable& items, int a, int b) { std::swap(items.slot(a), items.slot(b)); }

LauncherItem removeSlot(ItemTable& items, int s, int n) {
    LauncherItem removed = items.slot(s);
    for (int k = s; k < n; ++k) items.slot(k) = items.slot(k + 1);
    items.slot(n) = LauncherItem{};
    return removed;
}

void insertSlot(ItemTable& items, int s, int n, const LauncherItem& item) {
    assert(n < setfile::kSlots);
    for (int k = n; k >= s; --k) items.slot(k + 1) = items.slot(k);
    items.slot(s) = item;
}

BrowseResult fromChosenFile(const std::string& path, const std::string& currentTitle) {
    platform::FolderAndName parts = platform::splitFolderAndName(path);
    BrowseResult r{currentTitle, path, std::move(parts.folder)};
    if (r.title.empty()) r.title = std::move(parts.name);
    return r;
}

}  // namespace editor
