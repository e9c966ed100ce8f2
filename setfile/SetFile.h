// Launcher set files: the item table, the reader's rules as a pure function,
// and the writing rule.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "setfile/Language.h"

namespace setfile {

struct LauncherItem {
    std::string title;      // at most 48 bytes, no "="
    std::string target;     // at most 128 bytes
    std::string options;    // at most 128 bytes
    std::string directory;  // start-in directory, at most 128 bytes
    std::string key;        // one byte; " " means no key; may be empty

    bool inUse() const { return !title.empty(); }
    bool operator==(const LauncherItem&) const = default;
};

constexpr int kSlots = 16;
constexpr std::size_t kTitleLimit = 48;
constexpr std::size_t kFieldLimit = 128;
constexpr int kLineLimit = 2 * kSlots;

// Slots 1 to 16; with n items in use they are slots 1 to n.
class ItemTable {
public:
    LauncherItem& slot(int number) { return slots_.at(number - 1); }
    const LauncherItem& slot(int number) const { return slots_.at(number - 1); }
    int countInUse() const;
    void clear() { slots_ = {}; }
    // Moves the slots in use up over any slot that is not, keeping their order.
    void compact();
    bool operator==(const ItemTable&) const = default;

private:
    std::array<LauncherItem, kSlots> slots_{};
};

enum class Fault {
    None,
    TooManyLines,
    NoTitleSeparator,
    TitleTooLong,
    NoDirectorySeparator,
    DirectoryTooLong,
    NoTargetSeparator,
    TargetTooLong,
    OptionsTooLong,
};

struct ReadResult {
    ItemTable items;  // what was stored up to the fault, compacted
    Fault fault = Fault::None;
    int itemNumber = 0;  // the item (pair of lines in the file) at fault
    // Bytes the rules skip held a line break, or followed a Ctrl-Z: most
    // likely items of a file saved with other line ends, which a save of
    // what was read would lose.
    bool skippedLineBreak = false;
};

// A set file's lines: a CR ends a line and a LF right after it is skipped; a
// lone LF is an ordinary byte; Ctrl-Z ends the file; the last line may lack
// its line end.
std::vector<std::string_view> splitLines(std::string_view bytes);

// A title line: the title up to the first "=", then one key byte ("*" for
// none gives " "; empty when the line ends at "="). NoTitleSeparator or
// TitleTooLong when it is not one. Every field ends at its first NUL, as the
// edit boxes and the Windows shell end it: what runs is what is shown.
Fault readTitleLine(std::string_view line, std::string& title, std::string& key);

// Reads the bytes of a set file. A title-less entry is no item: the items
// after it move up, so that list line i always shows slot i+1.
ReadResult parseSetFile(std::string_view bytes);

// The writing rule: slots 1 to lastSlot, title line then item line, CR LF.
std::string formatSetFile(const ItemTable& items, int lastSlot);

// Writes slots 1 to lastSlot to the file by the writing rule, through the
// files service's safe write: a failure (an IOError) leaves the old file as
// it was. The one writer of every set file the program writes.
platform::WriteResult writeSetFile(const std::string& path, const ItemTable& items, int lastSlot);

// The list line of an item: key, two blanks, title.
std::string listLine(const std::string& key, const std::string& title);
inline std::string listLine(const LauncherItem& item) { return listLine(item.key, item.title); }

// The lines of the main list: one per slot in use, or the empty placeholder.
std::vector<std::string> listLines(const ItemTable& items);

// The current set file does not exist.
extern const Bilingual kSetFileMissing;
// No room for another item.
extern const Bilingual kTableFull;

// Whether a text holds a control character (a byte below 0x20, or 0x7F):
// CR and LF end a line of a set file and Ctrl-Z the file; no other belongs
// in a name or a field that comes in. No byte of a double-byte character
// is one.
bool hasControlCharacter(std::string_view text);

// Why a field would not read back as written: the messages shared by every
// place that makes items (the item edit dialog, dropped files).
struct Refusals {
    Bilingual codePage;  // a name the code page cannot hold
    Bilingual lineEnding;
    Bilingual equalsInTitle;
    Bilingual barInTarget;
    Bilingual barInDirectory;
    Bilingual starAsKey;  // "*" in a title line means no key
    Bilingual titleRequired;
    Bilingual targetRequired;
};
extern const Refusals kRefusals;

// Why the item for slot `slot` would not read back as written, if it would
// not: the one check of every maker of items (the item dialog, drops, the
// default set files). Where an item breaks several rules the first in this
// order is told: no title, no target, a control character, the title's
// length, "=" in the title, the directory's, the target's and the options'
// lengths, "|" in the directory, "|" in the target, "*" as the key.
std::optional<Bilingual> itemRefusal(const LauncherItem& item, int slot);

// The rules a start-in directory alone must keep (a control character, "|").
std::optional<Bilingual> folderRefusal(const std::string& folder);

// The message for a fault, item number inserted.
Bilingual faultMessage(Fault fault, int itemNumber);

}  // namespace setfile
