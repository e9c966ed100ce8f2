#include "setfile/DroppedFile.h"

#include "platform/text.h"

namespace setfile {

LauncherItem itemFromDroppedPath(const std::string& path) {
    platform::FolderAndName parts = platform::splitFolderAndName(path);
    LauncherItem item;
    item.target = path;
    item.key = " ";
    item.title = std::move(parts.name);
    item.directory = std::move(parts.folder);
    return item;
}

std::optional<Bilingual> dropRefusal(const LauncherItem& item, int slot) {
    // The backend lost a name the code page cannot hold.
    if (item.target.empty()) return kRefusals.codePage;
    return itemRefusal(item, slot);
}

}  // namespace setfile
