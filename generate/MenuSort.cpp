// Options > Sort Tarvo and Sort Kesti.
#include "app/TForm1.h"
#include "generate/Companion.h"
#include "generate/TForm4.h"
#include "generate/TForm5.h"
#include "platform/services.h"

namespace app {

void TForm1::MenuSortTarvoClick() {
    generate::TForm5 dialog(language());
    dialog.centre();
    std::vector<setfile::LauncherItem> slots;
    for (int n = 1; n <= setfile::kSlots; ++n) slots.push_back(items.slot(n));
    dialog.fill(slots);
    dialog.showModal();
}

void TForm1::MenuSortKestiClick() {
    OpenDialog1.fileName = "KESTI.PRG";
    OpenDialog1.initialDir = programDirectory();
    if (!OpenDialog1.execute()) return;
    if (OpenDialog1.pathLost) {
        report(setfile::kRefusals.codePage);
        return;
    }
    const std::string path = OpenDialog1.fileName;
    if (!platform::files().exists(path)) {
        report(setfile::kSetFileMissing);
        return;
    }
    companionTitles = {};
    generate::CompanionResult result = generate::parseCompanionFile(platform::files().read(path));
    companionTitles = result.titles;
    const bool failed = result.fault != generate::CompanionFault::None;
    if (failed) report(generate::companionFaultMessage(result.fault, result.itemNumber));
    generate::TForm4 dialog(language());
    dialog.centre();
    if (!failed) dialog.fill(companionTitles);
    dialog.showModal();
}

}  // namespace app
