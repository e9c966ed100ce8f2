// Replacing a set file without losing what the program could not read, or
// what another launcher wrote to it since.
#pragma once

#include <string>

#include "platform/host.h"
#include "setfile/Language.h"

namespace setfile {

// What the program knows of the set file it last read.
struct SetFileSnapshot {
    enum class State {
        Missing,     // no file: there is nothing to lose
        Unreadable,  // reading failed: never replace it
        Partial,     // reading stopped at a faulty item: replacing loses the rest
        Whole,
    };
    State state = State::Missing;
    std::string bytes;  // as read, at most kSetFileReadLimit
    bool whole = true;  // false: the file held more than was read
};

// A set file holds at most 32 lines that mean anything, each of bounded
// length: this much is read, and a file that holds more is not read whole.
constexpr std::size_t kSetFileReadLimit = std::size_t{64} * 1024;

// The bytes of a set file as the program reads them.
platform::FileBytes readSetFileBytes(const std::string& path);

// Whether the file still holds what the snapshot read (missing stays missing).
// A read error escapes as an IOError.
bool changedSince(const std::string& path, const SetFileSnapshot& snapshot);

// Asks before a file that was not read whole is replaced; tells why a file
// that could not be read is kept. True when writing may go ahead.
bool mayReplacePartial(const SetFileSnapshot& snapshot, const Messages& messages);

extern const Bilingual kChangedElsewhere;

}  // namespace setfile
