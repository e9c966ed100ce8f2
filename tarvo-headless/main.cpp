// tarvo-headless [--screen WxH] [--env NAME=VALUE]... [--window CLASS]... -- PROGRAM_PATH [ARG...]
// Runs the program on the headless backend: actions on standard input, the
// transcript on standard output.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <sys/stat.h>
#endif

#include <cstring>
#include <iostream>
#include <vector>

#include "app/Program.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/text.h"
#ifdef _WIN32
#include "platform/encoding.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/win32.h"

#include <shellapi.h>
#else
#include "platform/posix/convert.h"
#include "platform/posix/files.h"
#include "platform/posix/paths.h"
#endif

namespace {

int usage(const std::string& problem) {
    std::cerr << "tarvo-headless: " << problem << "\n"
              << "usage: tarvo-headless [--screen WxH] [--env NAME=VALUE]... [--window CLASS]... -- PROGRAM_PATH "
                 "[ARG...]\n";
    return 2;
}

bool parseScreen(const std::string& text, int& width, int& height) {
    std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    std::optional<int> w = platform::parseDecimal(text.substr(0, x));
    std::optional<int> h = platform::parseDecimal(text.substr(x + 1));
    if (!w || !h || *w <= 0 || *h <= 0) return false;
    width = *w;
    height = *h;
    return true;
}

#ifdef _WIN32
std::optional<std::string> wideToUtf8(const wchar_t* wide, int length = -1) {
    int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, length, out.data(), n, nullptr, nullptr);
    if (length < 0) out.pop_back();  // the terminator
    return out;
}

std::wstring utf8ToWide(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

// The driver's arguments are UTF-8 on every system: on Windows they come
// from the wide command line, since the ANSI one has lost what CP932 lacks.
bool utf8Arguments(std::vector<std::string>& out) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return false;
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        std::optional<std::string> arg = wideToUtf8(wide[i]);
        if (arg) out.push_back(*arg);
        ok = arg.has_value();
    }
    LocalFree(wide);
    return ok;
}

// The program path made absolute against the working folder, with its
// folder ("" when that folder does not exist).
std::string absoluteProgramPath(const std::string& utf8, std::string& folder) {
    std::wstring wide = utf8ToWide(utf8);
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    full.resize(n);
    std::size_t sep = full.find_last_of(L"\\/");
    std::wstring wideFolder = full.substr(0, sep + 1);
    DWORD attributes = GetFileAttributesW(wideFolder.c_str());
    bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    folder = isFolder ? wideToUtf8(wideFolder.data(), static_cast<int>(wideFolder.size())).value_or("") : "";
    return wideToUtf8(full.data(), static_cast<int>(full.size())).value_or(utf8);
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Actions and transcript are bytes: no CR LF translation.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> args;
    if (!utf8Arguments(args)) return usage("the command line is not valid UTF-16");
    std::vector<char*> argPointers;
    for (std::string& a : args) argPointers.push_back(a.data());
    argPointers.push_back(nullptr);
    argc = static_cast<int>(args.size());
    argv = argPointers.data();
#endif
    using platform::fromUtf8;
    platform::headless::Options options;
    int i = 1;
    for (; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--") break;
        if (i + 1 >= argc) return usage("missing value after " + arg);
        std::string value = argv[++i];
        if (arg == "--screen") {
            if (!parseScreen(value, options.screenWidth, options.screenHeight))
                return usage("--screen wants WIDTHxHEIGHT, got " + value);
        } else if (arg == "--env") {
            std::size_t eq = value.find('=');
            std::optional<std::string> name = fromUtf8(value.substr(0, eq));
            std::optional<std::string> content = fromUtf8(eq == std::string::npos ? "" : value.substr(eq + 1));
            if (eq == std::string::npos || eq == 0 || !name || !content)
                return usage("--env wants NAME=VALUE in characters CP932 can hold, got " + value);
            options.environment[*name] = *content;
        } else if (arg == "--window") {
            options.windows.insert(value);
        } else {
            return usage("unknown option " + arg);
        }
    }
    if (i >= argc || i + 1 >= argc) return usage("missing -- PROGRAM_PATH");
        // Taken as given, relative to the working folder: never looked up on PATH.
#ifdef _WIN32
    std::string folder;
    std::string programPath = absoluteProgramPath(argv[i + 1], folder);
    if (folder.empty()) return usage("the program's folder does not exist: " + programPath);
#else
    std::string programPath = platform::posix::absolute(argv[i + 1], platform::posix::workingFolder());
    std::string folder = programPath.substr(0, programPath.rfind('/') + 1);
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return usage("the program's folder does not exist: " + folder);
#endif
    std::optional<std::string> path = fromUtf8(programPath);
    if (!path) return usage("the program path cannot be held in CP932: " + programPath);
    options.programPath = *path;
    for (int a = i + 2; a < argc; ++a) {
        std::optional<std::string> param = fromUtf8(argv[a]);
        if (!param) return usage(std::string("a parameter cannot be held in CP932: ") + argv[a]);
        options.parameters.push_back(*param);
    }

#ifdef _WIN32
    platform::win32::Win32Files files;
#else
    platform::posix::PosixFiles files;
#endif
    platform::headless::HeadlessBackend backend(std::move(options), files, std::cin, std::cout);
    platform::setWindowing(&backend);
    platform::setHost(&backend);
    int rc = app::programMain();
    platform::setHost(nullptr);
    platform::setWindowing(nullptr);
    return rc;
}
