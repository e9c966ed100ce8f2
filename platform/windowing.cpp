// The windowing seam's registry and what every backend shares.
#include "platform/windowing.h"

#include <cassert>

#include "platform/text.h"

namespace platform {

namespace {
Windowing* currentWindowing = nullptr;
std::string title;
}  // namespace

Windowing& windowing() {
    assert(currentWindowing && "no windowing installed");
    return *currentWindowing;
}

void setWindowing(Windowing* windowing) { currentWindowing = windowing; }

const std::string& applicationTitle() { return title; }
void setApplicationTitle(std::string text) { title = std::move(text); }

std::string PathDrop::query(int index, std::size_t bufferSize) const {
    if (index < 0 || index >= count() || bufferSize == 0) return "";
    return truncateBytes(paths_[index], bufferSize - 1);
}

void showWarning(const std::string& text) { windowing().warningBox("警告", text, "はい(&Y)"); }

}  // namespace platform
