// The host seam's registry.
#include "platform/host.h"

#include <cassert>

namespace platform {

namespace {
Host* currentHost = nullptr;
}  // namespace

Host& host() {
    assert(currentHost && "no host installed");
    return *currentHost;
}

void setHost(Host* host) { currentHost = host; }

}  // namespace platform
