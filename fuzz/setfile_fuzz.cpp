// The set file reader on any bytes: what it stores keeps the limits the
// writer relies on, and a table it read, written by the writing rule, reads
// back as the same table.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "check.h"
#include "setfile/SetFile.h"

namespace {

using setfile::Fault;
using setfile::LauncherItem;

// A lone LF is an ordinary byte of a set file; CR ends a line, Ctrl-Z the file.
bool holdsLineEnd(const std::string& s) { return s.find_first_of(std::string_view("\r\x1A", 2)) != std::string::npos; }

void checkStoredItem(const LauncherItem& item) {
    FUZZ_CHECK(item.title.size() <= setfile::kTitleLimit && item.title.find('=') == std::string::npos,
               "a stored title is at most 48 bytes without \"=\"", fuzz::printBytes("title", item.title));
    FUZZ_CHECK(item.key.size() <= 1 && item.key != "*", "a stored key is one byte at most and never \"*\"",
               fuzz::printBytes("key", item.key));
    FUZZ_CHECK(item.directory.size() <= setfile::kFieldLimit && item.directory.find('|') == std::string::npos,
               "a stored directory is at most 128 bytes without \"|\"", fuzz::printBytes("directory", item.directory));
    FUZZ_CHECK(item.target.size() <= setfile::kFieldLimit && item.target.find('|') == std::string::npos,
               "a stored target is at most 128 bytes without \"|\"", fuzz::printBytes("target", item.target));
    FUZZ_CHECK(item.options.size() <= setfile::kFieldLimit, "stored options are at most 128 bytes",
               fuzz::printBytes("options", item.options));
    for (const std::string* field : {&item.title, &item.key, &item.directory, &item.target, &item.options}) {
        FUZZ_CHECK(!holdsLineEnd(*field), "no stored field holds CR or Ctrl-Z", fuzz::printBytes("field", *field));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    for (std::string_view line : setfile::splitLines(bytes)) {
        FUZZ_CHECK(line.find('\r') == std::string_view::npos && line.find('\x1A') == std::string_view::npos,
                   "a split line holds no CR and no Ctrl-Z", fuzz::printBytes("line", line));
    }

    const setfile::ReadResult read = setfile::parseSetFile(bytes);
    if (read.fault == Fault::None) {
        FUZZ_CHECK(read.itemNumber == 0, "a file without fault names no item");
    } else {
        FUZZ_CHECK(read.itemNumber >= 1 && read.itemNumber <= setfile::kSlots + 1, "a fault names an item from 1 to 17",
                   std::fprintf(stderr, "  item %d\n", read.itemNumber));
    }

    // In use first, then nothing at all: list line i is slot i+1.
    const int inUse = read.items.countInUse();
    for (int n = 1; n <= setfile::kSlots; ++n) {
        const LauncherItem& item = read.items.slot(n);
        if (n <= inUse) {
            FUZZ_CHECK(item.inUse(), "the slots in use come first", std::fprintf(stderr, "  slot %d\n", n));
            checkStoredItem(item);
        } else {
            FUZZ_CHECK(item == LauncherItem{}, "a slot after the last one in use is empty",
                       std::fprintf(stderr, "  slot %d\n", n));
        }
    }

    // Faulty or not, what was stored is a table the program may write back.
    const std::string written = setfile::formatSetFile(read.items, inUse);
    const setfile::ReadResult again = setfile::parseSetFile(written);
    FUZZ_CHECK(again.fault == Fault::None && again.items == read.items,
               "a table read, written and read again is unchanged", fuzz::printBytes("written", written),
               std::fprintf(stderr, "  fault %d item %d\n", static_cast<int>(again.fault), again.itemNumber));
    return 0;
}
