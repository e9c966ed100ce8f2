#include "generate/DefaultSetFiles.h"

#include "platform/host.h"
#include "platform/text.h"
#include "setfile/CurrentSetFile.h"

namespace generate {

namespace {

const char* const kMenus[9] = {"FILER", "UTILITY", "BAT", "444", "555", "666", "777", "888", "999"};

enum class Kind { NT, Win95, Win31, None };

struct WindowsProgram {
    std::string title;
    std::string program;  // relative to the Windows directory
};

// The Windows programs of one file: 0 top, 1..3 sub-files ("\" keys on 3).
std::vector<WindowsProgram> windowsPrograms(Kind kind, int file) {
    if (kind == Kind::None || file > 3) return {};
    const bool batch = file == 3;
    auto key = [&](const char* k) { return std::string("=") + (batch ? "\\" : k); };
    WindowsProgram explorer, paint;
    switch (kind) {
    case Kind::NT:
        explorer = {"EXPLORER(WinNT)", "EXPLORER.EXE"};
        paint = {"PBRUSH(WinNT)", "SYSTEM32\\PBRUSH.EXE"};
        break;
    case Kind::Win95:
        explorer = {"EXPLORER(Win95)", "EXPLORER.EXE"};
        paint = {"PBRUSH(Win95)", "PBRUSH.EXE"};
        break;
    default:
        explorer = {"FILE MANAGER(Win31)", "WINFILE.EXE"};
        paint = {"PBRUSH(Win31)", "PBRUSH.EXE"};
        break;
    }
    const char* explorerKey = kind == Kind::Win31 ? "F" : "E";
    explorer.title += key(explorerKey);
    paint.title += key("P");
    switch (file) {
    case 1: return {explorer};
    case 2: return {paint};
    default: return {explorer, paint};
    }
}

setfile::LauncherItem item(const std::string& titleLine, std::string directory, std::string target,
                           std::string options) {
    setfile::LauncherItem it{"", std::move(target), std::move(options), std::move(directory), ""};
    setfile::readTitleLine(titleLine, it.title, it.key);
    return it;
}

}  // namespace

std::optional<ProgramFamily> programFamily(const std::string& programFileName) {
    std::string name = programFileName;
    if (name.find('.') == std::string::npos) name += ".EXE";
    for (const ProgramFamily& family :
         {ProgramFamily{"TARVO.EXE", "TARVO90.PRG", false}, ProgramFamily{"TARVO16.EXE", "TARVO80.PRG", true}}) {
        if (platform::equalsIgnoreAsciiCase(name, family.program)) return family;
    }
    return std::nullopt;
}

std::vector<DefaultSetFile> defaultSetFiles(bool family16, const std::string& W, const std::string& P,
                                            const std::string& E, const std::string& systemKind) {
    Kind kind = Kind::None;
    if (platform::equalsIgnoreAsciiCase(systemKind, "WINNT")) kind = Kind::NT;
    else if (platform::equalsIgnoreAsciiCase(systemKind, "WINDOWS")) kind = Kind::Win95;
    else if (family16) kind = Kind::Win31;

    const std::string prefix = family16 ? "TARVO8" : "TARVO9";
    auto name = [&](int k) { return prefix + std::to_string(k) + ".PRG"; };
    std::vector<DefaultSetFile> files;
    for (int file = 0; file <= 9; ++file) {
        DefaultSetFile f{name(file), {}, 0};
        auto add = [&](setfile::LauncherItem it) { f.items.slot(++f.count) = std::move(it); };
        if (file == 0) {
            for (int k = 1; k <= 9; ++k)
                add(item("TARVO(" + std::string(kMenus[k - 1]) + ")=" + std::to_string(k), P, P + E, name(k)));
        } else {
            add(item("< .. > " + std::string(kMenus[file - 1]) + "=\\", P, P + E, name(0)));
        }
        for (const WindowsProgram& wp : windowsPrograms(kind, file)) add(item(wp.title, W, W + wp.program, ""));
        files.push_back(std::move(f));
    }
    return files;
}

std::optional<setfile::Bilingual> directoryRefusal(const std::string& windowsDir, const std::string& programDir,
                                                   const std::string& program) {
    for (const std::string* dir : {&windowsDir, &programDir}) {
        if (std::optional<setfile::Bilingual> refusal = setfile::folderRefusal(*dir)) return refusal;
    }
    // The longest program joined to the Windows directory.
    const std::size_t longestWindowsProgram = std::string("SYSTEM32\\PBRUSH.EXE").size();
    if (windowsDir.size() + longestWindowsProgram > setfile::kFieldLimit) {
        return setfile::Bilingual{"   Windows ディレクトリ名が長すぎます。   ",
                                  "    Windows directory name is too long.   "};
    }
    if (programDir.size() + program.size() > setfile::kFieldLimit) {
        return setfile::Bilingual{"   Tarvo.exe ディレクトリ名が長すぎます。   ",
                                  "    Tarvo.exe directory name is too long.   "};
    }
    return std::nullopt;
}

void writeDefaultSetFiles(const std::string& folder, const std::vector<DefaultSetFile>& files,
                          const setfile::Messages& messages) {
    bool warned = false;
    for (const DefaultSetFile& file : files) {
        const std::string path = folder + file.name;
        if (platform::files().exists(path) &&
            !messages.askYesNo({"   " + file.name + " が存在します。上書きしていいですか。    ",
                                "   " + file.name + " is already exist. Do you overwrite ?    "})) {
            continue;
        }
        // One folder holds them all: one warning says it for all.
        if (setfile::writeSetFile(path, file.items, file.count) == platform::WriteResult::FolderNotFlushed && !warned) {
            messages.tell(setfile::folderNotFlushed(file.name));
            warned = true;
        }
    }
}

}  // namespace generate
