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
    std::size_t sep = platform::findLastOfChars(path, platform::pathSeparator());
    BrowseResult r;
    r.target = path;
    if (sep == std::string::npos) {
        r.title = currentTitle.empty() ? path : currentTitle;
        return r;
    }
    r.title = currentTitle.empty() ? path.substr(sep + 1) : currentTitle;
    r.directory = path.substr(0, sep);
    return r;
}

}  // namespace editor
