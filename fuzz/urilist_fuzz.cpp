// The dropped URI list: on any text every path found is absolute and comes
// from a line of its own; absolute paths written as a text/uri-list (percent
// encoded file URIs with or without a host, plain paths, comments, CR LF or
// LF) come back exactly.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "check.h"
#include "platform/posix/UriList.h"

namespace {

void printPaths(const char* label, const std::vector<std::string>& paths) {
    std::fprintf(stderr, "  %s: %zu paths\n", label, paths.size());
    for (const std::string& p : paths) fuzz::printBytes("path", p);
}

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

std::string fileUri(FuzzedDataProvider& in, const std::string& path) {
    static const char* const upper = "0123456789ABCDEF";
    static const char* const lower = "0123456789abcdef";
    std::string out = "file://";
    out += in.PickValueInArray({"", "localhost", "host.example"});
    for (unsigned char c : path) {
        // File managers differ in what they encode beyond the reserved bytes.
        if (c == '/' || (unreserved(c) && in.ConsumeIntegralInRange<int>(0, 7) != 0)) {
            out += static_cast<char>(c);
            continue;
        }
        const char* digits = in.ConsumeBool() ? upper : lower;
        out += '%';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> found = platform::posix::pathsFromUriList(raw);
    const std::size_t lines = 1 + static_cast<std::size_t>(std::count_if(
                                      raw.begin(), raw.end(), [](char c) { return c == '\r' || c == '\n'; }));
    FUZZ_CHECK(found.size() <= lines, "each path comes from a line of its own", fuzz::printBytes("list", raw),
               printPaths("found", found));
    for (const std::string& p : found) {
        FUZZ_CHECK(!p.empty() && p[0] == '/', "every path found is absolute", fuzz::printBytes("list", raw),
                   fuzz::printBytes("path", p));
    }

    FuzzedDataProvider in(data, size);
    std::vector<std::string> paths(in.ConsumeIntegralInRange<std::size_t>(0, 6));
    std::string list;
    for (std::string& p : paths) {
        if (in.ConsumeIntegralInRange<int>(0, 3) == 0) list += "# a comment line\r\n";
        p = "/" + in.ConsumeRandomLengthString(60);
        const bool plain = in.ConsumeBool() && p.find_first_of("\r\n") == std::string::npos;
        list += plain ? p : fileUri(in, p);
        list += in.ConsumeBool() ? "\r\n" : "\n";
    }
    const std::vector<std::string> back = platform::posix::pathsFromUriList(list);
    FUZZ_CHECK(back == paths, "absolute paths written as a URI list come back exactly", fuzz::printBytes("list", list),
               printPaths("written", paths), printPaths("read", back));
    return 0;
}
