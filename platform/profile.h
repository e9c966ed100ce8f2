// Private-profile (INI) files with the Windows rules, over file contents.
#pragma once

#include <optional>
#include <string>

#include "platform/host.h"

namespace platform {

// GetPrivateProfileString over the bytes of a file: a section name ends at
// its "]" and the rest of that line is ignored; blanks around a section name
// do not count, in the file nor as asked for; sections and keys matched
// ignoring ASCII case, first match wins, blanks around keys and values
// trimmed, one pair of enclosing quotes removed, at most 1023 bytes returned.
// A UTF-8 byte-order mark at the start of the file is skipped.
std::string profileGet(const std::string& contents, const std::string& section, const std::string& key,
                       const std::string& fallback);

// WritePrivateProfileString: the new contents with key=value set in section,
// found as profileGet finds it; a missing section is appended, a missing key
// goes after the section's last key; lines that are not key=value (and a
// byte-order mark) stay as they are; CR LF line ends.
std::string profileSet(const std::string& contents, const std::string& section, const std::string& key,
                       const std::string& value);

// A private-profile file read once, changed in memory, and written back
// whole in one safe write.
class IniFile {
public:
    // A missing file reads as empty; so does one that cannot be read (or
    // that is no file), which is then never written back: that would lose
    // what could not be read. So is one over kReadLimit, read up to it.
    IniFile(Files& files, std::string path);
    // Well above any real settings file.
    static constexpr std::size_t kReadLimit = std::size_t{256} * 1024;
    std::string get(const std::string& section, const std::string& key, const std::string& fallback) const;
    void set(const std::string& section, const std::string& key, const std::string& value);
    // False when the file exists but could not be read whole (or is no file).
    bool readable() const { return readable_; }
    // Nullopt when nothing was written (the file was not readable, or the
    // write failed), and the old file stays; else how the write left it.
    std::optional<WriteResult> save();

private:
    Files& files_;
    std::string path_;
    std::string contents_;
    bool readable_ = true;
};

}  // namespace platform
