#include <cassert>
#include <exception>

#include "platform/errors.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/windowing.h"

namespace platform {

namespace {
Windowing* currentWindowing = nullptr;
Host* currentHost = nullptr;
std::string title;
}  // namespace

Windowing& windowing() {
    assert(currentWindowing && "no windowing installed");
    return *currentWindowing;
}

void setWindowing(Windowing* windowing) { currentWindowing = windowing; }

Host& host() {
    assert(currentHost && "no host installed");
    return *currentHost;
}

void setHost(Host* host) { currentHost = host; }

const std::string& applicationTitle() { return title; }
void setApplicationTitle(std::string text) { title = std::move(text); }

void dispatch(const std::function<void()>& handler) {
    std::string text;
    try {
        handler();
        return;
    } catch (const FrameworkError& e) {
        text = e.what();
    } catch (const std::bad_alloc&) {
        text = "ﾒﾓﾘが不足しています";
    } catch (const std::exception& e) {
        text = e.what();
    }
    windowing().errorReport(title, text + ".");
}

std::string PathDrop::query(int index, std::size_t bufferSize) const {
    if (index < 0 || index >= count() || bufferSize == 0) return "";
    return truncateBytes(paths_[index], bufferSize - 1);
}

void showWarning(const std::string& text) { windowing().warningBox("警告", text, "はい(&Y)"); }

}  // namespace platform
