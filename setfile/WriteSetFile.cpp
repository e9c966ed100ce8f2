#include "platform/services.h"
#include "setfile/SetFile.h"

namespace setfile {

void writeSetFile(const std::string& path, const ItemTable& items, int lastSlot) {
    platform::files().write(path, formatSetFile(items, lastSlot));
}

}  // namespace setfile
