// What every fuzz target uses to report a broken property: a message naming
// it, the bytes involved, then abort(), which libFuzzer records as a crash
// with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

// Bytes as printable ASCII with \xHH for the rest, so that CP932 and UTF-8
// both show exactly.
inline void printBytes(const char* label, std::string_view bytes) {
    std::fprintf(stderr, "  %s (%zu bytes): \"", label, bytes.size());
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') std::fputc(c, stderr);
        else std::fprintf(stderr, "\\x%02X", c);
    }
    std::fputs("\"\n", stderr);
}

}  // namespace fuzz

// Checks a property of the code under test; the extra statements print the
// values involved before the abort.
#define FUZZ_CHECK(condition, property, ...)                              \
    do {                                                                  \
        if (!(condition)) {                                               \
            std::fprintf(stderr, "FUZZ PROPERTY BROKEN: %s\n", property); \
            __VA_ARGS__;                                                  \
            std::abort();                                                 \
        }                                                                 \
    } while (0)
