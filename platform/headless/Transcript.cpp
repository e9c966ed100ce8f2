#include "platform/headless/Transcript.h"

#include <cctype>
#include <cstdio>

#include "platform/encoding.h"
#include "platform/text.h"

namespace platform::headless {

namespace {

std::string hexEscape(unsigned char c) {
    char buf[5];
    std::snprintf(buf, sizeof buf, "\\x%02X", c);
    return buf;
}

bool needsEscape(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

std::string quote(const std::string& cp932) {
    std::string out = "\"";
    for (std::size_t i = 0; i < cp932.size();) {
        unsigned char c = static_cast<unsigned char>(cp932[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        if (needsEscape(c)) {
            out += hexEscape(c);
            ++i;
            continue;
        }
        std::size_t len = charLength(cp932, i);
        if (isLeadByte(c) && len == 1) {  // a lead byte with nothing after it
            out += hexEscape(c);
            ++i;
            continue;
        }
        std::optional<std::string> utf8 = toUtf8(cp932.substr(i, len));
        if (!utf8) {
            out += hexEscape(c);  // try the next byte on its own
            ++i;
            continue;
        }
        out += *utf8;
        i += len;
    }
    return out + "\"";
}

std::string quoteUtf8(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (needsEscape(c)) {
            out += hexEscape(c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::optional<std::string> decodeText(const std::string& text) {
    std::string out;
    std::string run;  // UTF-8 waiting for conversion
    auto flush = [&]() -> bool {
        if (run.empty()) return true;
        std::optional<std::string> converted = fromUtf8(run);
        if (!converted) return false;
        out += *converted;
        run.clear();
        return true;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            run += c;
            continue;
        }
        char next = text[i + 1];
        if (next == '"' || next == '\\') {
            run += next;
            ++i;
        } else if (next == 'x' && i + 3 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
            if (!flush()) return std::nullopt;
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            run += c;
        }
    }
    if (!flush()) return std::nullopt;
    return out;
}

}  // namespace platform::headless
