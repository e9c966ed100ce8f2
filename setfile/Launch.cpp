#include "setfile/Launch.h"

#include "platform/host.h"
#include "platform/text.h"

namespace setfile {

std::string startState(const std::vector<std::string>& parameters, const std::string& stateSet) {
    if (parameters.empty()) return stateSet;
    return parameters.size() >= 2 ? platform::upperAscii(parameters[1]) : std::string();
}

AfterLaunch decideAfterLaunch(const std::vector<std::string>& parameters, const std::string& stateSet) {
    AfterLaunch action;
    const std::string code = startState(parameters, stateSet);
    if (code == "/C") {
        action.close = false;
    } else if (code == "/N" || code == "/I") {
        action.close = false;
        action.minimize = true;
    }
    return action;
}

bool startItem(const LauncherItem& item) {
    platform::ShellRequest request{"OPEN", item.target, item.options, item.directory, 5};
    return platform::host().shellExecute(request) > 32;
}

Bilingual launchFailure(int slot, bool batch) {
    std::string number = std::to_string(slot);
    return {"    " + number + " 項目のファイルの実行に失敗しました。   ",
            "    Target " + number + (batch ? "  " : " ") + "Item can not execute.   "};
}

}  // namespace setfile
