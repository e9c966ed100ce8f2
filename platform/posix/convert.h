// CP932 <-> UTF-8 on POSIX: iconv "CP932" (never "SHIFT_JIS", which maps
// 0x5C and 0x7E differently).
#pragma once

#include "platform/encoding.h"

namespace platform::posix {

using platform::fromUtf8;
using platform::toUtf8;
using platform::toUtf8Display;

}  // namespace platform::posix
