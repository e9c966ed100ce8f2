// Starting items through the shell and what follows a successful start.
#pragma once

#include <string>
#include <vector>

#include "setfile/Language.h"
#include "setfile/SetFile.h"

namespace setfile {

struct AfterLaunch {
    bool close = true;
    bool minimize = false;
};

// The start state that rules this run ("/N", "/I", "/C", "/Z" or anything
// else): with parameters only the second one counts, in either case ("" when
// there is none); without them the settings' start state does, in upper case
// only.
std::string startState(const std::vector<std::string>& parameters, const std::string& stateSet);

// What follows a successful start, by the start state.
AfterLaunch decideAfterLaunch(const std::vector<std::string>& parameters, const std::string& stateSet);

// The shell's open operation on the item; true when it started.
bool startItem(const LauncherItem& item);

// The failure message for a slot; the batch's English text has two blanks
// before "Item".
Bilingual launchFailure(int slot, bool batch);

}  // namespace setfile
