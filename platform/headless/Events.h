// Firing a control's or a form's event as a native message would.
#pragma once

#include "platform/windowing.h"

namespace platform::headless {

// Every handler the driver fires goes through the framework's dispatch, as a
// native message's would.
template <class Handler, class... Args>
void fire(const Handler& handler, Args&... args) {
    if (handler) dispatch([&] { handler(args...); });
}

}  // namespace platform::headless
