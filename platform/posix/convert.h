// CP932 <-> UTF-8 on POSIX, with the program's own table (platform/cp932.h):
// no iconv module needed.
#pragma once

#include "platform/encoding.h"

namespace platform::posix {

using platform::fromUtf8;
using platform::toUtf8;
using platform::toUtf8Display;

}  // namespace platform::posix
