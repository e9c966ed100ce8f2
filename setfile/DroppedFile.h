// A file dropped on the main window becomes a new item at the end of the set.
#pragma once

#include <optional>
#include <string>

#include "setfile/Language.h"
#include "setfile/SetFile.h"

namespace setfile {

// What DragQueryFile is given to fill.
constexpr std::size_t kDropBuffer = 256;

// The item a dropped file becomes: its name as the title, its folder as the
// start-in directory, no options and no key.
LauncherItem itemFromDroppedPath(const std::string& path);

// Why the item for slot `slot` would not read back as written, if it would not.
std::optional<Bilingual> dropRefusal(const LauncherItem& item, int slot);

}  // namespace setfile
