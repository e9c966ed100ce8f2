#include "setfile/DroppedFile.h"

#include "platform/text.h"

namespace setfile {

LauncherItem itemFromDroppedPath(const std::string& path) {
    // Lead-byte aware: the second byte of 表 or ソ is 0x5C, a "\" to a plain search.
    std::size_t sep = platform::findLastOfChars(path, platform::pathSeparator());
    LauncherItem item;
    item.target = path;
    item.key = " ";
    if (sep == std::string::npos) {
        item.title = path;
        return item;
    }
    item.title = path.substr(sep + 1);
    item.directory = path.substr(0, sep);
    // A file in the root of a POSIX file system starts in "/" itself.
    if (item.directory.empty()) item.directory = path.substr(0, 1);
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
