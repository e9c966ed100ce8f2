// Private-profile (INI) files with the Windows rules, over file contents.
#pragma once

#include <string>

#include "platform/services.h"

namespace platform {

// GetPrivateProfileString over the bytes of a file: sections and keys matched
// ignoring ASCII case, first match wins, blanks around keys and values
// trimmed, one pair of enclosing quotes removed, at most 1023 bytes returned.
std::string profileGet(const std::string& contents, const std::string& section, const std::string& key,
                       const std::string& fallback);

// WritePrivateProfileString: the new contents with key=value set in section;
// a missing section is appended, a missing key goes after the section's last
// key; lines that are not key=value stay as they are; CR LF line ends.
std::string profileSet(const std::string& contents, const std::string& section, const std::string& key,
                       const std::string& value);

// Profile over the Files service: a missing file reads as empty and is
// created on write; every write is a safe write of the whole file.
class FileProfile : public Profile {
public:
    explicit FileProfile(Files& files) : files_(files) {}
    std::string getString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& fallback) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    Files& files_;
};

}  // namespace platform
