// Starting items: RUN (the selected item) and BAT (the items keyed "\" from
// slot 2 on), then the after-launch action of the start state.
#include "app/TForm1.h"
#include "platform/services.h"

namespace app {

namespace {

struct AfterLaunch {
    bool close = true;
    bool minimize = false;
};

AfterLaunch decideAfterLaunch(const TForm1& form) {
    AfterLaunch action;
    if (!form.parameters().empty()) {
        // Only the second parameter counts, in either case.
        std::string code = form.parameters().size() >= 2 ? form.parameters()[1] : std::string();
        if (code == "/C" || code == "/c") {
            action.close = false;
        } else if (code == "/N" || code == "/n" || code == "/I" || code == "/i") {
            action.close = false;
            action.minimize = true;
        }
    } else {
        const std::string& code = form.settings.StateSet;
        if (code == "/C") {
            action.close = false;
        } else if (code == "/N" || code == "/I") {
            action.close = false;
            action.minimize = true;
        }
    }
    return action;
}

bool startItem(const setfile::LauncherItem& item) {
    platform::ShellRequest request{"OPEN", item.target, item.options, item.directory, 5};
    return platform::backend().shellExecute(request) > 32;
}

void takeAfterLaunchAction(TForm1& form, AfterLaunch action) {
    if (action.close) form.close();
    if (action.minimize) platform::backend().minimizeApplication();
}

// The batch's English text has two blanks before "Item".
Bilingual launchFailure(int slot, bool batch) {
    std::string number = std::to_string(slot);
    return {"    " + number + " 項目のファイルの実行に失敗しました。   ",
            "    Target " + number + (batch ? "  " : " ") + "Item can not execute.   "};
}

bool hasItems(const platform::ListBox& list) { return list.count() > 0 && !list.lines()[0].empty(); }

}  // namespace

void TForm1::btnStartClick() { SelectProgramRun(); }
void TForm1::ListBoxClick() { SelectProgramRun(); }
void TForm1::btnContStartClick() { SelectProgramContinuasRun(); }

void TForm1::SelectProgramRun() {
    if (!hasItems(ListBox1) || ListBox1.itemIndex() < 0) return;
    int slot = ListBox1.itemIndex() + 1;
    // A missing set file adds a line to a full list: no item stands there.
    if (slot > setfile::kSlots) return;
    AfterLaunch action = decideAfterLaunch(*this);
    if (!startItem(items.slot(slot))) {
        report(launchFailure(slot, false));
        return;
    }
    takeAfterLaunchAction(*this, action);
}

void TForm1::SelectProgramContinuasRun() {
    if (!hasItems(ListBox1)) return;
    AfterLaunch action = decideAfterLaunch(*this);
    int last = std::min(ListBox1.count(), setfile::kSlots);
    for (int slot = 2; slot <= last; ++slot) {
        if (items.slot(slot).key != "\\") continue;
        if (!startItem(items.slot(slot))) {
            report(launchFailure(slot, true));
            return;
        }
    }
    takeAfterLaunchAction(*this, action);
}

}  // namespace app
