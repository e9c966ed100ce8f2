// Implements: the conversion of a caption to an FLTK label.
#include "platform/fltk/DisplayText.h"

#include "platform/posix/convert.h"

namespace platform::fltk {

std::string displayText(const std::string& cp932, bool keepAmpersands) {
    std::string out;
    for (char c : posix::toUtf8Display(cp932)) {
        if (c == '\r') continue;
        if (c == '@') out += '@';  // FLTK reads "@x" as a symbol
        if (c == '&' && !keepAmpersands) out += '&';
        out += c;
    }
    return out;
}

}  // namespace platform::fltk
