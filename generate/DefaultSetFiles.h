// The default family of set files written at the first start: a top file
// whose items start the launcher on nine sub-files, each of which leads back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setfile/Language.h"
#include "setfile/SetFile.h"

namespace generate {

// A program name with a family of set files of its own.
struct ProgramFamily {
    const char* program;     // the defined program name, "TARVO.EXE"
    const char* topSetFile;  // what it reads without parameters, "TARVO90.PRG"
    bool family16;           // its default set files are TARVO80..89
};

// The family of a program file name, compared ignoring ASCII case; a name
// without extension compares as if ".EXE" followed it. Nullopt for a name
// that has none.
std::optional<ProgramFamily> programFamily(const std::string& programFileName);

struct DefaultSetFile {
    std::string name;  // e.g. "TARVO90.PRG"
    setfile::ItemTable items;
    int count = 0;
};

// The ten files in the order they are written. `family16` chooses the
// TARVO80..89 family; W and P are the Windows and program directories as
// held (each expected to end in a separator), E the program named in the
// items, systemKind "WINNT", "WINDOWS" or anything else (case ignored).
std::vector<DefaultSetFile> defaultSetFiles(bool family16, const std::string& windowsDir, const std::string& programDir,
                                            const std::string& program, const std::string& systemKind);

// Why the default set files made from these directories would not read
// back (a control character, a "|", a field over 128 bytes with the longest
// program name joined), if they would not. The same limits keep the INI's
// lines whole.
std::optional<setfile::Bilingual> directoryRefusal(const std::string& windowsDir, const std::string& programDir,
                                                   const std::string& program);

// Writes the files into `folder`, asking before each existing file is
// overwritten (No or a closed box keeps it). A failed write escapes as an
// IOError and ends the writing.
void writeDefaultSetFiles(const std::string& folder, const std::vector<DefaultSetFile>& files,
                          const setfile::Messages& messages);

}  // namespace generate
