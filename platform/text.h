// CP932 byte-string helpers. Every text of the program is a std::string of
// CP932 bytes; these helpers know where a double-byte character starts so that
// a trail byte (0x40..0xFC, 0x5C among them) is never taken for a separator.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

bool isLeadByte(unsigned char c);

// Length in bytes of the character starting at pos (1 or 2; 1 for a lead byte
// at the very end, which is taken as it stands).
std::size_t charLength(std::string_view s, std::size_t pos);

// Position of the last byte of `chars` that starts a character, or npos.
std::size_t findLastOfChars(std::string_view s, std::string_view chars);

// Folder separators of the host platform ("\\:" on Windows, "/" elsewhere).
std::string_view folderSeparators();

// The separator between folder names in a path ("\\" on Windows, "/" elsewhere);
// unlike folderSeparators() without the drive's ":".
std::string_view pathSeparator();

// Everything up to and including the last folder separator ("" when none).
std::string directoryPart(std::string_view path);
// Everything after the last folder separator.
std::string fileNamePart(std::string_view path);

// A path as an item takes it: the folder it starts in, without its last
// separator (but a root's: "/" itself, and "C:" on Windows as "C:\" lost
// its separator), and the name after it. A path without a separator is a
// name alone with an empty folder.
struct FolderAndName {
    std::string folder;
    std::string name;
};
FolderAndName splitFolderAndName(std::string_view path);

// The HTML page that stands for a help file where no help engine reads it:
// its name with ".html" for its extension (TARVO.html for TARVO.HLP).
std::string helpPageName(std::string_view helpFile);

std::string upperAscii(std::string_view s);
bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Whole-string integer parsing as the framework's conversions do: optional
// sign, digits only, 32-bit range. nullopt when the text is not such a number.
std::optional<int> parseDecimal(std::string_view s);
std::optional<int> parseHex(std::string_view digits);

// Truncates to at most maxBytes without splitting a double-byte character.
std::string truncateBytes(std::string_view s, std::size_t maxBytes);

// Windows command-line splitting: blanks and tabs separate arguments outside
// double quotes; a double quote toggles grouping and is dropped; two double
// quotes inside a group give one literal quote; backslashes are ordinary.
std::vector<std::string> splitCommandLine(std::string_view line);

}  // namespace platform
