// A file dropped on the main window becomes a new item at the end of the set.
#include "app/TForm1.h"
#include "platform/errors.h"
#include "platform/services.h"
#include "platform/text.h"

namespace app {

namespace {

constexpr std::size_t kDropBuffer = 256;

// Why the item made from a dropped path would not read back as written.
std::optional<Bilingual> refusalOf(const setfile::LauncherItem& item, int slot) {
    using setfile::Fault;
    const setfile::Refusals& refusals = setfile::kRefusals;
    if (item.target.empty()) return refusals.codePage;
    // A POSIX file name may hold a line break.
    if (item.target.find_first_of(setfile::kLineEndingBytes) != std::string::npos) return refusals.lineEnding;
    if (item.title.size() > setfile::kTitleLimit) return setfile::faultMessage(Fault::TitleTooLong, slot);
    if (item.title.find('=') != std::string::npos) return refusals.equalsInTitle;
    if (item.directory.size() > setfile::kFieldLimit) return setfile::faultMessage(Fault::DirectoryTooLong, slot);
    if (item.target.size() > setfile::kFieldLimit) return setfile::faultMessage(Fault::TargetTooLong, slot);
    if (item.directory.find('|') != std::string::npos) return refusals.barInDirectory;
    if (item.target.find('|') != std::string::npos) return refusals.barInTarget;
    return std::nullopt;
}

}  // namespace

setfile::LauncherItem itemFromDroppedPath(const std::string& path) {
    // A plain byte search: no trail byte equals the separator on this platform's paths.
    std::size_t sep = path.rfind(platform::pathSeparator()[0]);
    setfile::LauncherItem item;
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

void TForm1::AddDroppedFile(platform::DroppedFiles& drop) {
    struct Release {
        platform::DroppedFiles& drop;
        ~Release() { drop.finish(); }
    } release{drop};

    const std::string path = drop.query(0, kDropBuffer);
    const int n = items.countInUse();
    if (n >= setfile::kSlots) {
        report({"    設定個数は １６ 個までです。          ", "    Launcher can set max 16 items.   "});
        return;
    }
    setfile::LauncherItem item = itemFromDroppedPath(path);
    // A set file that does not read back would stop loading at every start.
    if (std::optional<Bilingual> refusal = refusalOf(item, n + 1)) {
        report(*refusal);
        return;
    }
    setfile::ItemTable added = items;
    added.slot(n + 1) = item;
    // A failed write escapes to the framework's report with nothing changed.
    setfile::writeSetFile(currentSetFile, added, n + 1);
    ReadLauncherSetFile();
    ListBox1.setItemIndex(n);
}

}  // namespace app
