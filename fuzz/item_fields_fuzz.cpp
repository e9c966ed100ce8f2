// Items made by the edit dialog's check and by dropped files: whatever these
// accept must come back from the set file exactly as it was stored, or the
// next start would show another item or stop at a read fault.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "check.h"
#include "setfile/DroppedFile.h"
#include "setfile/SetFile.h"

namespace {

using setfile::LauncherItem;

void printItem(const char* label, const LauncherItem& item) {
    std::fprintf(stderr, "  %s:\n", label);
    fuzz::printBytes("title", item.title);
    fuzz::printBytes("target", item.target);
    fuzz::printBytes("options", item.options);
    fuzz::printBytes("directory", item.directory);
    fuzz::printBytes("key", item.key);
}

// Stores `item` in `slot` behind slot - 1 plain items, writes the table by the
// writing rule and reads it back.
void checkReadsBack(const LauncherItem& item, int slot, const char* property) {
    setfile::ItemTable table;
    for (int n = 1; n < slot; ++n) table.slot(n) = {"Item" + std::to_string(n), "/bin/true", "", "/", " "};
    table.slot(slot) = item;
    const std::string written = setfile::formatSetFile(table, slot);
    const setfile::ReadResult read = setfile::parseSetFile(written);
    FUZZ_CHECK(
        read.fault == setfile::Fault::None && read.items == table, property, printItem("stored", item),
        printItem("read back", read.items.slot(slot)), fuzz::printBytes("written", written),
        std::fprintf(stderr, "  slot %d fault %d item %d\n", slot, static_cast<int>(read.fault), read.itemNumber));
}

// The five boxes as the dialog holds them: Browse may fill the first four
// beyond what typing takes, the key box holds one byte at most.
void checkDialog(FuzzedDataProvider& in, int slot) {
    LauncherItem boxes;
    boxes.title = in.ConsumeRandomLengthString(60);
    boxes.target = in.ConsumeRandomLengthString(140);
    boxes.options = in.ConsumeRandomLengthString(140);
    boxes.directory = in.ConsumeRandomLengthString(140);
    if (in.ConsumeBool()) boxes.key = std::string(1, in.ConsumeIntegral<char>());
    if (setfile::itemRefusal(boxes, slot)) return;
    // What OK stores: an empty key box is no key.
    if (boxes.key.empty()) boxes.key = " ";
    checkReadsBack(boxes, slot, "an item the edit dialog accepts reads back from the set file as stored");
}

// A dropped path as DragQueryFile fills its 256-byte buffer.
void checkDrop(FuzzedDataProvider& in, int slot) {
    const std::string path = in.ConsumeRandomLengthString(setfile::kDropBuffer - 1);
    const LauncherItem item = setfile::itemFromDroppedPath(path);
    FUZZ_CHECK(item.target == path && item.options.empty() && item.key == " ",
               "a dropped file's item starts its path with no options and no key", printItem("item", item));
    if (setfile::dropRefusal(item, slot)) return;
    checkReadsBack(item, slot, "a dropped file the program accepts reads back from the set file as stored");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const bool drop = in.ConsumeBool();
    const int slot = in.ConsumeIntegralInRange<int>(1, setfile::kSlots);
    if (drop) checkDrop(in, slot);
    else checkDialog(in, slot);
    return 0;
}
