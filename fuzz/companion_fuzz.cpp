// The companion reader on any bytes, and on files laid out from the input:
// the titles it returns keep the title rule, and the titles of a
// well-formed file come back as written.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "check.h"
#include "generate/Companion.h"

namespace {

using generate::CompanionFault;
using generate::CompanionTitle;

std::string withoutBytes(std::string s, std::string_view bytes) {
    std::erase_if(s, [&](char c) { return bytes.find(c) != std::string_view::npos; });
    return s;
}

void checkAnyBytes(std::string_view bytes) {
    const generate::CompanionResult r = generate::parseCompanionFile(bytes);
    if (r.fault == CompanionFault::NoTitleSeparator || r.fault == CompanionFault::TitleTooLong) {
        FUZZ_CHECK(r.itemNumber >= 1 && r.itemNumber <= generate::kCompanionSlots,
                   "a title fault names an item from 1 to 48", std::fprintf(stderr, "  item %d\n", r.itemNumber));
    } else {
        FUZZ_CHECK(r.itemNumber == 0, "only a title fault names an item",
                   std::fprintf(stderr, "  item %d\n", r.itemNumber));
    }
    for (const CompanionTitle& t : r.titles) {
        FUZZ_CHECK(t.title.size() <= 48 && t.title.find('=') == std::string::npos,
                   "a title is at most 48 bytes without \"=\"", fuzz::printBytes("title", t.title));
        FUZZ_CHECK(t.key.size() <= 1 && t.key != "*", "a key is one byte at most and never \"*\"",
                   fuzz::printBytes("key", t.key));
        FUZZ_CHECK(t.title.find_first_of(std::string_view("\r\x1A\0", 3)) == std::string::npos &&
                       t.key.find('\0') == std::string::npos,
                   "no title holds CR, Ctrl-Z or NUL, no key a NUL", fuzz::printBytes("title", t.title));
    }
}

// Odd lines are free text; even lines are "title=key" and what follows.
void checkLaidOut(FuzzedDataProvider& in) {
    generate::CompanionTable expected{};
    std::string file;
    const int count = in.ConsumeIntegralInRange<int>(0, generate::kCompanionSlots);
    for (int i = 0; i < count; ++i) {
        const std::string_view lineEnds("\r\x1A", 2);
        std::string odd = withoutBytes(in.ConsumeRandomLengthString(80), lineEnds);
        std::string title = withoutBytes(in.ConsumeRandomLengthString(48), std::string_view("\r\x1A=", 3));
        std::string key;
        switch (in.ConsumeIntegralInRange<int>(0, 2)) {
        case 0: break;
        case 1: key = "*"; break;
        default: key = withoutBytes(std::string(1, in.ConsumeIntegral<char>()), lineEnds); break;
        }
        std::string tail = withoutBytes(in.ConsumeRandomLengthString(20), lineEnds);
        if (key.empty()) tail.clear();  // the line ends at "="
        file += odd + "\r\n" + title + "=" + key + tail + "\r\n";
        // Each field ends at its first NUL, as the list shows it.
        expected[static_cast<std::size_t>(i)] = {title.substr(0, title.find('\0')),
                                                 key == "*" ? " " : key.substr(0, key.find('\0'))};
    }
    const generate::CompanionResult r = generate::parseCompanionFile(file);
    bool same = r.fault == CompanionFault::None;
    for (std::size_t i = 0; same && i < expected.size(); ++i) {
        same = r.titles[i].title == expected[i].title && r.titles[i].key == expected[i].key;
    }
    FUZZ_CHECK(same, "the titles of a well-formed companion file come back as written", fuzz::printBytes("file", file),
               std::fprintf(stderr, "  fault %d item %d\n", static_cast<int>(r.fault), r.itemNumber));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkAnyBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider in(data, size);
    checkLaidOut(in);
    return 0;
}
