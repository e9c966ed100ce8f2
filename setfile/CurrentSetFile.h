// The set file the main window shows, and the one way to replace it without
// losing what the program could not read or what another launcher wrote to
// it since.
#pragma once

#include <optional>
#include <string>

#include "platform/host.h"
#include "setfile/Language.h"
#include "setfile/SetFile.h"

namespace setfile {

// A set file holds at most 32 lines that mean anything, each of bounded
// length: this much is read, and a file that holds more is not read whole.
constexpr std::size_t kSetFileReadLimit = std::size_t{64} * 1024;

// How long a save waits for another launcher that is replacing the same file.
constexpr int kLockTimeoutMs = 2000;

class CurrentSetFile {
public:
    enum class SaveOutcome {
        Saved,
        NotSaved,          // refused, or answered No; the user has been told
        ChangedElsewhere,  // another launcher wrote it since it was read; nothing written
    };

    // A new current file, not read yet.
    void setPath(std::string path);

    // Reads the file and keeps what was read; nullopt when it does not exist.
    // A read error escapes as an IOError, and the file stays unreplaceable.
    std::optional<ReadResult> read();

    // Writes slots 1 to lastSlot by the writing rule. Asks before replacing a
    // file not read whole and refuses one that could not be read; then writes
    // the new file and, under a lock every launcher takes, checks that the
    // file still holds what was read before putting the new one in its place.
    // A change found there is asked about when `askWhenChanged` (and the
    // save goes on after Yes), otherwise returned with nothing written. A
    // failed write escapes as an IOError with the old file kept.
    SaveOutcome save(const ItemTable& items, int lastSlot, const Messages& messages, bool askWhenChanged,
                     int lockTimeoutMs = kLockTimeoutMs);

private:
    enum class State {
        Missing,     // no file: there is nothing to lose
        Unreadable,  // reading failed: never replace it
        Partial,     // the reader skipped what a save would lose
        Whole,
    };
    struct Snapshot {
        State state = State::Missing;
        std::string bytes;  // as read, at most kSetFileReadLimit
        bool whole = true;  // false: the file held more than was read
    };
    // What the file holds now, by the same reading rules.
    Snapshot take(ReadResult* result) const;
    bool changedSince(const Snapshot& snapshot) const;

    std::string path_;
    Snapshot snapshot_;
};

// Shared by the set editor's and the drop's questions.
extern const Bilingual kChangedElsewhere;
// Another launcher held the file's lock for too long.
extern const Bilingual kSetFileBusy;

// A file was saved but its folder could not be flushed; `name` is inserted.
Bilingual folderNotFlushed(const std::string& name);

}  // namespace setfile
