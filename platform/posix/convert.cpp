#include "platform/posix/convert.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

#include "platform/errors.h"

namespace platform {

namespace {

// One descriptor per direction and thread: iconv_t keeps state, so it must
// not be shared between threads, and opening it on every call is costly for
// text that is converted on each redraw.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw EncodingError(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`. A byte sequence that does not convert makes it
    // give up, or with `substitute` become "?" for its first byte, the rest
    // being converted anew.
    bool convert(const std::string& in, std::string& out, bool substitute) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[256];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            int err = errno;
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc == static_cast<std::size_t>(-1)) {
                if (err == E2BIG) continue;
                // EILSEQ or EINVAL (a lead byte cut off at the end)
                if (!substitute) return false;
                out += '?';
                ++src;
                --srcLeft;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            } else if (rc != 0 && !substitute) {
                return false;  // irreversible conversions: the text was changed
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

Converter& fromCp932() {
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& toCp932() {
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

}  // namespace

std::string toUtf8Display(const std::string& cp932) {
    std::string out;
    fromCp932().convert(cp932, out, true);
    return out;
}

std::optional<std::string> toUtf8(const std::string& cp932) {
    std::string out;
    if (!fromCp932().convert(cp932, out, false)) return std::nullopt;
    return out;
}

// iconv gives some characters a neighbour's code without counting them as
// changed (the yen sign becomes "\\", the wave dash the full-width tilde) and
// drops others (tag characters): only a text that converts back to itself
// is the same text in CP932.
std::optional<std::string> fromUtf8(const std::string& utf8) {
    std::string out, back;
    if (!toCp932().convert(utf8, out, false)) return std::nullopt;
    if (!fromCp932().convert(out, back, false) || back != utf8) return std::nullopt;
    return out;
}

}  // namespace platform
