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
    const Refusals& refusals = kRefusals;
    if (item.target.empty()) return refusals.codePage;
    // A root folder has no name to stand as the title.
    if (item.title.empty()) return refusals.titleRequired;
    // A POSIX file name may hold a line break, and a URI any byte.
    if (hasControlCharacter(item.target)) return refusals.lineEnding;
    if (item.title.size() > kTitleLimit) return faultMessage(Fault::TitleTooLong, slot);
    if (item.title.find('=') != std::string::npos) return refusals.equalsInTitle;
    if (item.directory.size() > kFieldLimit) return faultMessage(Fault::DirectoryTooLong, slot);
    if (item.target.size() > kFieldLimit) return faultMessage(Fault::TargetTooLong, slot);
    if (item.directory.find('|') != std::string::npos) return refusals.barInDirectory;
    if (item.target.find('|') != std::string::npos) return refusals.barInTarget;
    return std::nullopt;
}

}  // namespace setfile
