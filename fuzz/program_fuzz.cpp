// The whole program on the headless backend, driven by action scripts made
// from the input: a fresh folder per run with the program's files laid out
// (settings file, set files, a companion file, each fixed or from the input),
// then a bounded list of action lines on the real control and menu names of
// the forms. The run must end (the input's end closes the program as the end
// of standard input does) without a sanitizer report or an escaping
// exception. The transcript is discarded; TARVO_FUZZ_VERBOSE=1 prints the
// script and the transcript to standard error, for reading a reproducer.
//
// Input layout, read front to back (a byte past the end reads as 0):
//   6 header bytes: program name, settings file, set file, parameters,
//   companion file, environment and windows; then for each file taken from
//   the input a length byte (times 4) and its bytes; then actions, one verb
//   byte and its argument bytes each, until the input ends.
#include <stdlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "app/Program.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/host.h"
#include "platform/posix/files.h"
#include "platform/windowing.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMaxActions = 64;
// Each tick is at most 255 * 20 ms: a handful of 500 ms timer periods.
constexpr int kTickStep = 20;

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return pos_ >= size_; }
    unsigned next() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::string block(std::size_t length) {
        std::size_t n = std::min(length, size_ - std::min(pos_, size_));
        std::string out(reinterpret_cast<const char*>(data_) + pos_, n);
        pos_ += n;
        return out;
    }
    template <class T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[next() % N];
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A stream that drops what it is given.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

const char* const kProgramNames[] = {"TARVO.EXE", "tarvo", "TARVO16.EXE", "tarvo16", "Other.exe"};

const char* const kSettingsFiles[] = {
    "[FormMain]\r\nStateSet=/C\r\n",
    ("[FormMain]\r\nStateSet=/I\r\nPosSet=1\r\nLeft=10\r\nTop=20\r\nWidth=200\r\nHeight=366\r\n"
     "[Language]\r\nJapanese=0\r\nEnglish=1\r\n"),
    "[FormMain]\r\nStateSet=/N\r\nTarvoDir=\"/opt/tarvo/\"\r\n[Language]\r\nJapanese=1\r\nEnglish=1\r\n",
};

const char* const kSetFiles[] = {
    "One=1\r\n/bin|/bin/one|\r\nTwo=\\\r\n/|/bin/two|-a \"b c\"\r\nThree=*\r\n|three|\r\n",
    ("A=a\r\n|a|\r\nB=\\\r\n|b|\r\nC=c\r\n|c|\r\nD=\\\r\n|d|\r\nE=e\r\n|e|\r\nF=f\r\n|f|\r\nG=g\r\n|g|\r\n"
     "H=h\r\n|h|\r\nI=i\r\n|i|\r\nJ=j\r\n|j|\r\nK=k\r\n|k|\r\nL=l\r\n|l|\r\nM=m\r\n|m|\r\nN=n\r\n|n|\r\n"
     "O=o\r\n|o|\r\nP=\\\r\n|p|\r\n"),
    "Good=g\r\n/g|/g/run|\r\nBad title without separator\r\n",
    "",
    "=x\r\n/h|hidden|\r\nOnly=\r\n/o|/o/only|\x1A trailing bytes",
};

const char* const kCompanion = "odd\r\nKesti One=1\r\nodd\r\nKesti Two=*\r\nodd\r\n=\r\n";

// Parameters relative to the program's folder; "sub" is a folder.
const std::vector<std::string> kParameters[] = {
    {},
    {"SET.PRG"},
    {"SET.PRG", "/C"},
    {"SET.PRG", "/I"},
    {"SET.PRG", "/N"},
    {"SET.PRG", "/Z"},
    {"SET.PRG", "/i"},
    {"SET.PRG", "/N", "10", "20"},
    {"SET.PRG", "/C", "x", "1"},
    {"SET.PRG", "/C", "9999", "0"},
    {"a", "b", "c"},
    {"NOPE.PRG"},
    {"sub"},
};

const char* const kClickable[] = {
    "btnStart", "btnContStart", "btnExit",   "btnOk",     "btnCansel", "btnAdd",    "btnEdit", "btnUp",
    "btnDown",  "btnCut",       "btnCopy",   "btnPaste",  "btnDel",    "btnRef",    "Button1", "Button2",
    "Button3",  "RadioBtnN",    "RadioBtnI", "RadioBtnC", "RadioBtnZ", "CheckBox1",
};
const char* const kEdits[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"};
const char* const kMenus[] = {
    "MenuSystem",  "MenuSystemExit", "MenuOption",     "MenuLauncherSet", "MenuSortTarvo", "MenuSortKesti",
    "MenuEnglish", "MenuJapanese",   "MenuSetIniFile", "MenuHelp",        "MenuHelpHelp",
};
const char* const kFocusable[] = {
    "ListBox1", "Edit1",   "Edit2",  "Edit3",   "Edit4",   "Edit5",     "btnStart",  "btnOk",  "btnCansel",
    "btnAdd",   "btnEdit", "btnRef", "Button1", "Button2", "RadioBtnI", "CheckBox1", "Label1",
};
const char* const kKeys[] = {
    "Enter", "Esc", "Back", "Space", "Up", "Down", "F4", "Tab",  "a",  "x", "N",
    "E",     "O",   "B",    "S",     "Y",  "1",    "*",  "\\\\", "表", "ｱ", "\\x81",
};
// Pieces of typed texts and paths, in the transcript's notation: what the
// reader's and the checks' rules turn on, and runs that reach the limits.
// clang-format off
const char* const kTextPieces[] = {
    "a", "Z", "0", " ", "=", "|", "/", "*", "\\\\", "\\x0D", "\\x0A", "\\x1A", "\\x09", "\\x81", "\\x95\\x5C",
    "表", "ソ", "ｱ", "~", "\\\"", ".", "-", "/I", "aaaaaaaaaaaaaaaa", "表表表表表表表表",
};
// clang-format on
const char* const kJunk[] = {
    "click",
    "select ListBox1 x",
    "select ListBox1 99999999999999",
    "tick -1",
    "type",
    "key ListBox1 Nope",
    "menu",
    "drop",
    "opendialog",
    "shellresult x",
    "dump nothing",
    "frobnicate",
    "# a comment",
    "",
};

std::string text(Bytes& in) {
    std::string out;
    const unsigned length = in.next() % 24;
    for (unsigned i = 0; i < length; ++i) out += in.pick(kTextPieces);
    return out;
}

std::string fileBytes(Bytes& in) { return in.block(in.next() * 4u); }

void writeFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string nextAction(Bytes& in, const std::string& dir) {
    switch (in.next() % 16) {
    case 0:
    case 1:
    case 2: return std::string("click ") + in.pick(kClickable);
    case 3: return "dblclick ListBox1";
    case 4: return "select ListBox1 " + std::to_string(in.next() % 20);
    case 5: return std::string("menu ") + in.pick(kMenus);
    case 6: return std::string("type ") + in.pick(kEdits) + " " + text(in);
    case 7:
    case 8: {
        std::string line = std::string("key ") + in.pick(kFocusable) + " " + in.pick(kKeys);
        const unsigned mods = in.next();
        if (mods & 1) line += " shift";
        if (mods & 2) line += " ctrl";
        if (mods & 4) line += " alt";
        return line;
    }
    case 9: {
        std::string line = "drop ";
        const unsigned count = 1 + in.next() % 3;
        for (unsigned i = 0; i < count; ++i) line += (i ? " | " : "") + dir + "/" + text(in);
        return line;
    }
    case 10: return "tick " + std::to_string(in.next() * kTickStep);
    case 11: return "closebox";
    case 12: {
        static const int results[] = {0, 2, 3, 5, 31, 32, 33, 42, -1};
        return "shellresult " + std::to_string(in.pick(results));
    }
    case 13: {
        static const char* const answers[] = {"KESTI.PRG", "SET.PRG",   "TARVO90.PRG", "missing.PRG",
                                              "sub",       "sub/x.exe", "表.exe"};
        const unsigned choice = in.next() % 9;
        if (choice < 7) return "opendialog " + dir + "/" + answers[choice];
        if (choice == 8) return "opendialog cancel";
        // A name from the input, kept a file of the folder itself.
        std::string name = "f" + text(in);
        std::replace(name.begin(), name.end(), '/', '_');
        return "opendialog " + dir + "/" + name;
    }
    case 14: {
        const unsigned choice = in.next() % 4;
        if (choice == 0) return "dump";
        if (choice == 1) return "dump menus";
        if (choice == 2) return "dump ListBox1";
        return std::string("dump ") + in.pick(kEdits);
    }
    default: return in.pick(kJunk);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool verbose = [] {
        const char* v = getenv("TARVO_FUZZ_VERBOSE");
        return v && *v && *v != '0';
    }();
    Bytes in(data, size);

    std::string folderTemplate = (fs::temp_directory_path() / "tarvo-fuzz-XXXXXX").string();
    if (!mkdtemp(folderTemplate.data())) {
        std::perror("program_fuzz: mkdtemp");
        abort();
    }
    const fs::path dir = folderTemplate;
    fs::create_directory(dir / "sub");

    const std::string program = in.pick(kProgramNames);
    const unsigned settings = in.next() % 5;
    const unsigned setFile = in.next() % 7;
    const std::vector<std::string>& parameters = in.pick(kParameters);
    const unsigned companion = in.next() % 3;
    const unsigned environment = in.next();

    const std::string stem = program.substr(0, program.rfind('.'));
    const fs::path settingsPath = dir / (stem + ".INI");
    if (settings >= 1 && settings <= 3) writeFile(settingsPath, kSettingsFiles[settings - 1]);
    else if (settings == 4) writeFile(settingsPath, fileBytes(in));
    if (setFile >= 1) {
        const std::string bytes = setFile <= 5 ? std::string(kSetFiles[setFile - 1]) : fileBytes(in);
        for (const char* name : {"TARVO90.PRG", "TARVO80.PRG", "SET.PRG"}) writeFile(dir / name, bytes);
    }
    if (companion == 1) writeFile(dir / "KESTI.PRG", kCompanion);
    else if (companion == 2) writeFile(dir / "KESTI.PRG", fileBytes(in));

    platform::headless::Options options;
    options.programPath = (dir / program).string();
    options.parameters = parameters;
    if (environment & 1) options.environment["WINDIR"] = "C:\\WINDOWS";
    if (environment & 2) options.environment["SYSTEMROOT"] = "C:\\WINNT";
    if (environment & 4) options.windows.insert("KestiMainWin");
    if (environment & 8) options.windows.insert(platform::kFileExplorerClass);

    std::string script;
    for (int i = 0; i < kMaxActions && !in.done(); ++i) script += nextAction(in, dir.string()) + "\n";

    std::istringstream actions(script);
    NullBuffer discard;
    std::ostream nowhere(&discard);
    if (verbose) std::cerr << "---- script\n" << script << "---- transcript\n";
    {
        platform::posix::PosixFiles files;
        platform::headless::HeadlessBackend backend(std::move(options), files, actions,
                                                    verbose ? static_cast<std::ostream&>(std::cerr) : nowhere);
        platform::setWindowing(&backend);
        platform::setHost(&backend);
        app::programMain();
        platform::setHost(nullptr);
        platform::setWindowing(nullptr);
    }
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return 0;
}
