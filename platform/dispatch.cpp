#include <cassert>
#include <exception>

#include "platform/errors.h"
#include "platform/services.h"
#include "platform/text.h"

namespace platform {

namespace {
Backend* current = nullptr;
std::string title;
}  // namespace

Backend& backend() {
    assert(current && "no backend installed");
    return *current;
}

void setBackend(Backend* backend) { current = backend; }

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
    backend().errorReport(title, text + ".");
}

std::string PathDrop::query(int index, std::size_t bufferSize) const {
    if (index < 0 || index >= count() || bufferSize == 0) return "";
    return truncateBytes(paths_[index], bufferSize - 1);
}

void showWarning(const std::string& text) { backend().warningBox("警告", text, "はい(&Y)"); }

}  // namespace platform
