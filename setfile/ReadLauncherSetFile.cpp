// Loading the current set file into the item table and the main list.
#include "app/TForm1.h"
#include "platform/services.h"

namespace app {

void TForm1::ReadLauncherSetFile() {
    items.clear();
    if (!platform::files().exists(currentSetFile)) {
        report(setfile::kSetFileMissing);
        ListBox1.add("");
        return;
    }
    setfile::ReadResult result = setfile::parseSetFile(platform::files().read(currentSetFile));
    items = result.items;
    if (result.fault != setfile::Fault::None) {
        // The list keeps its previous lines.
        report(setfile::faultMessage(result.fault, result.itemNumber));
        return;
    }
    ListBox1.clear();
    for (std::string& line : setfile::listLines(items)) ListBox1.add(std::move(line));
    ListBox1.setItemIndex(0);
}

}  // namespace app
