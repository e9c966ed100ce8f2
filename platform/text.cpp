#include "platform/text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace platform {

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::size_t charLength(std::string_view s, std::size_t pos) {
    if (pos + 1 < s.size() && isLeadByte(static_cast<unsigned char>(s[pos]))) return 2;
    return 1;
}

std::size_t findLastOfChars(std::string_view s, std::string_view chars) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); i += charLength(s, i)) {
        if (chars.find(s[i]) != std::string_view::npos) found = i;
    }
    return found;
}

std::string_view folderSeparators() {
#ifdef _WIN32
    return "\\:";
#else
    return "/";
#endif
}

std::string_view pathSeparator() {
#ifdef _WIN32
    return "\\";
#else
    return "/";
#endif
}

std::string directoryPart(std::string_view path) {
    std::size_t sep = findLastOfChars(path, folderSeparators());
    return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep + 1));
}

std::string fileNamePart(std::string_view path) {
    std::size_t sep = findLastOfChars(path, folderSeparators());
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

FolderAndName splitFolderAndName(std::string_view path) {
    // Lead-byte aware: the second byte of 表 or ソ is 0x5C, a "\" to a plain search.
    std::size_t sep = findLastOfChars(path, pathSeparator());
    if (sep == std::string_view::npos) return {"", std::string(path)};
    // A file in the root of a POSIX file system starts in "/" itself.
    return {std::string(path.substr(0, sep == 0 ? 1 : sep)), std::string(path.substr(sep + 1))};
}

std::string helpPageName(std::string_view helpFile) {
    return std::string(helpFile.substr(0, helpFile.rfind('.'))) + ".html";
}

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); i += charLength(out, i)) {
        if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
    }
    return out;
}

bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && upperAscii(a) == upperAscii(b);
}

namespace {
std::optional<int> parseDigits(std::string_view s, int base) {
    if (s.empty()) return std::nullopt;
    std::size_t i = 0;
    bool negative = false;
    if (base == 10 && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        i = 1;
    }
    if (i == s.size()) return std::nullopt;
    long long value = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        value = value * base + digit;
        if (value > 0x100000000LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (base == 16 && value <= 0xFFFFFFFFLL) {
        // hexadecimal takes the full 32 bits, as a bit pattern
        return static_cast<int>(static_cast<unsigned int>(value));
    }
    if (value < INT_MIN || value > INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}
}  // namespace

std::optional<int> parseDecimal(std::string_view s) { return parseDigits(s, 10); }
std::optional<int> parseHex(std::string_view digits) { return parseDigits(digits, 16); }

std::string truncateBytes(std::string_view s, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < s.size()) {
        std::size_t next = end + charLength(s, end);
        if (next > maxBytes) break;
        end = next;
    }
    return std::string(s.substr(0, end));
}

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> args;
    std::string current;
    bool inArg = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            inArg = true;
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                current += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArg) args.push_back(std::move(current));
            current.clear();
            inArg = false;
        } else {
            current += c;
            inArg = true;
        }
    }
    if (inArg) args.push_back(std::move(current));
    return args;
}

}  // namespace platform
