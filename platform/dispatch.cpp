// The one place event handlers run: an error that escapes one ends that
// handler and becomes the framework's report, never crossing a toolkit.
#include <exception>
#include <new>

#include "platform/errors.h"
#include "platform/windowing.h"

namespace platform {

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
    windowing().errorReport(applicationTitle(), text + ".");
}

}  // namespace platform
