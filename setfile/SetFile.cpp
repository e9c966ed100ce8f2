#include "setfile/SetFile.h"

#include <algorithm>

#include "platform/host.h"

namespace setfile {

int ItemTable::countInUse() const {
    return static_cast<int>(std::count_if(slots_.begin(), slots_.end(), [](const auto& s) { return s.inUse(); }));
}

void ItemTable::compact() {
    auto end = std::stable_partition(slots_.begin(), slots_.end(), [](const auto& s) { return s.inUse(); });
    std::fill(end, slots_.end(), LauncherItem{});
}

std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::size_t eof = bytes.find('\x1A');
    if (eof != std::string_view::npos) bytes = bytes.substr(0, eof);
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t cr = bytes.find('\r', pos);
        if (cr == std::string_view::npos) {
            lines.push_back(bytes.substr(pos));
            break;
        }
        lines.push_back(bytes.substr(pos, cr - pos));
        pos = cr + 1;
        if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
    }
    return lines;
}

namespace {

// A field up to its first NUL.
std::string_view field(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

bool holdsLineBreak(std::string_view bytes) { return bytes.find_first_of("\r\n") != std::string_view::npos; }

// Whether what a field's NUL hides holds a line break.
bool hidesLineBreak(std::string_view bytes) { return holdsLineBreak(bytes.substr(field(bytes).size())); }

}  // namespace

Fault readTitleLine(std::string_view line, std::string& title, std::string& key) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return Fault::NoTitleSeparator;
    if (eq > kTitleLimit) return Fault::TitleTooLong;
    title = field(line.substr(0, eq));
    key = field(line.substr(eq + 1, 1));
    if (key == "*") key = " ";
    return Fault::None;
}

ReadResult parseSetFile(std::string_view bytes) {
    ReadResult r;
    if (std::size_t eof = bytes.find('\x1A'); eof != std::string_view::npos && eof + 1 < bytes.size()) {
        r.skippedLineBreak = true;
    }
    int lineNumber = 1;
    int item = 1;
    auto fail = [&](Fault f) {
        r.fault = f;
        r.itemNumber = item;
    };
    for (std::string_view line : splitLines(bytes)) {
        if (lineNumber > kLineLimit) {
            fail(Fault::TooManyLines);
            break;
        }
        if (lineNumber % 2 == 1) {
            LauncherItem& slot = r.items.slot(item);
            if (Fault f = readTitleLine(line, slot.title, slot.key); f != Fault::None) {
                fail(f);
                break;
            }
            std::size_t eq = line.find('=');
            if (hidesLineBreak(line.substr(0, eq)) || holdsLineBreak(line.substr(std::min(line.size(), eq + 2)))) {
                r.skippedLineBreak = true;
            }
        } else {
            LauncherItem& slot = r.items.slot(item);
            std::size_t bar = line.find('|');
            if (bar == std::string_view::npos) {
                fail(Fault::NoDirectorySeparator);
                break;
            }
            if (bar > kFieldLimit) {
                fail(Fault::DirectoryTooLong);
                break;
            }
            slot.directory = field(line.substr(0, bar));
            std::string_view rest = line.substr(bar + 1);
            std::size_t bar2 = rest.find('|');
            if (bar2 == std::string_view::npos) {
                fail(Fault::NoTargetSeparator);
                break;
            }
            if (bar2 > kFieldLimit) {
                fail(Fault::TargetTooLong);
                break;
            }
            slot.target = field(rest.substr(0, bar2));
            std::string_view options = rest.substr(bar2 + 1);
            if (options.size() > kFieldLimit) {
                fail(Fault::OptionsTooLong);
                break;
            }
            slot.options = field(options);
            if (hidesLineBreak(line.substr(0, bar)) || hidesLineBreak(rest.substr(0, bar2)) ||
                hidesLineBreak(options)) {
                r.skippedLineBreak = true;
            }
            ++item;
        }
        ++lineNumber;
    }
    r.items.compact();
    return r;
}

std::string formatSetFile(const ItemTable& items, int lastSlot) {
    std::string out;
    for (int n = 1; n <= lastSlot && n <= kSlots; ++n) {
        const LauncherItem& s = items.slot(n);
        out += s.title + "=" + (s.key == " " ? std::string("*") : s.key) + "\r\n";
        out += s.directory + "|" + s.target + "|" + s.options + "\r\n";
    }
    return out;
}

platform::WriteResult writeSetFile(const std::string& path, const ItemTable& items, int lastSlot) {
    return platform::files().write(path, formatSetFile(items, lastSlot));
}

bool hasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

std::string listLine(const std::string& key, const std::string& title) { return key + "  " + title; }

std::vector<std::string> listLines(const ItemTable& items) {
    std::vector<std::string> lines;
    for (int n = 1; n <= kSlots; ++n) {
        if (items.slot(n).inUse()) lines.push_back(listLine(items.slot(n)));
    }
    if (lines.empty()) lines.emplace_back();
    return lines;
}

const Bilingual kSetFileMissing = {"   ランチャーの設定ファイルが存在しません。   ",
                                   "   Launcher set file is not exist.   "};

const Bilingual kTableFull = {"    設定個数は １６ 個までです。          ", "    Launcher can set max 16 items.   "};

const Refusals kRefusals = {
    {"    このファイル名には使えない文字が含まれています。   ",
     "    The file name holds characters that can not be used.   "},
    {"    改行や制御文字は使用できません。   ", "    Line breaks and control characters can not be used.   "},
    {"    タイトル名に「=」は使用できません。   ", "    Target title can not contain \"=\".   "},
    {"    実行ファイル名に「|」は使用できません。   ", "    Target file name can not contain \"|\".   "},
    {"    実行ディレクトリ名に「|」は使用できません。   ", "    Start in directory can not contain \"|\".   "},
    {"    ショートカットキーに「*」は使用できません。   ", "    Shortcut key can not be \"*\".   "},
    {"    タイトル名は必ず指定してください。   ", "    Please set target title.   "},
    {"    実行ファイル名は必ず指定してください。   ", "    Please set target file name.   "},
};

std::optional<Bilingual> itemRefusal(const LauncherItem& item, int slot) {
    const Refusals& refusals = kRefusals;
    if (item.title.empty()) return refusals.titleRequired;
    if (item.target.empty()) return refusals.targetRequired;
    // CR and LF end a line of the file, Ctrl-Z the file; a POSIX file name
    // may hold a line break, and a URI any byte.
    for (const std::string* field : {&item.title, &item.target, &item.options, &item.directory, &item.key}) {
        if (hasControlCharacter(*field)) return refusals.lineEnding;
    }
    // The file ends a title at its first "=" and the directory and the
    // target at the first two "|".
    if (item.title.size() > kTitleLimit) return faultMessage(Fault::TitleTooLong, slot);
    if (item.title.find('=') != std::string::npos) return refusals.equalsInTitle;
    if (item.directory.size() > kFieldLimit) return faultMessage(Fault::DirectoryTooLong, slot);
    if (item.target.size() > kFieldLimit) return faultMessage(Fault::TargetTooLong, slot);
    if (item.options.size() > kFieldLimit) return faultMessage(Fault::OptionsTooLong, slot);
    if (item.directory.find('|') != std::string::npos) return refusals.barInDirectory;
    if (item.target.find('|') != std::string::npos) return refusals.barInTarget;
    if (item.key == "*") return refusals.starAsKey;
    return std::nullopt;
}

std::optional<Bilingual> folderRefusal(const std::string& folder) {
    if (hasControlCharacter(folder)) return kRefusals.lineEnding;
    if (folder.find('|') != std::string::npos) return kRefusals.barInDirectory;
    return std::nullopt;
}

Bilingual faultMessage(Fault fault, int itemNumber) {
    struct Pieces {
        const char* ja;
        const char* en1;
        const char* en2;
    };
    Pieces p{};
    switch (fault) {
    case Fault::None: return {};
    case Fault::TooManyLines:
        return {"   設定ファイルの行数は最大で３２行です。   ", "   Launcher set file is max 32 lines.   "};
    case Fault::NoTitleSeparator:
        p = {" 項目のタイトルが設定されていません。   ", "    Target Title of Item ", " is not set.   "};
        break;
    case Fault::TitleTooLong:
        p = {" 項目のタイトルは４８文字までです。     ", "    Target Title of Item ", " is max 48 characters.   "};
        break;
    case Fault::NoDirectorySeparator:
        p = {" 項目のディレクトリ名が設定されていません。   ", "    Start in directory of Item ", " is not set.   "};
        break;
    case Fault::DirectoryTooLong:
        p = {" 項目のディレクトリ名は１２８文字までです。   ", "    Start in directory of Item ",
             " is max 128 characters.   "};
        break;
    case Fault::NoTargetSeparator:
        p = {" 項目の実行ファイル名が設定されていません。   ", "    Target of Item ", " is not set.   "};
        break;
    case Fault::TargetTooLong:
        p = {" 項目の実行ファイル名は１２８文字までです。   ", "    Target of Item ", " is max 128 characters.   "};
        break;
    case Fault::OptionsTooLong:
        p = {" 項目のオプション設定は１２８文字までです。   ", "    Options of Item ", " is max 128 characters.   "};
        break;
    }
    std::string number = std::to_string(itemNumber);
    return {"    " + number + p.ja, p.en1 + number + p.en2};
}

}  // namespace setfile
