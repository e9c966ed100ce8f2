// tarvo-headless [--screen WxH] [--env NAME=VALUE]... [--window CLASS]... -- PROGRAM_PATH [ARG...]
// Runs the program on the headless backend: actions on standard input, the
// transcript on standard output.
#include <sys/stat.h>

#include <cstring>
#include <iostream>

#include "app/Program.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/posix/convert.h"
#include "platform/posix/files.h"
#include "platform/posix/paths.h"
#include "platform/text.h"

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

}  // namespace

int main(int argc, char** argv) {
    using platform::posix::fromUtf8;
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
    std::string programPath = platform::posix::absolute(argv[i + 1], platform::posix::workingFolder());
    std::string folder = programPath.substr(0, programPath.rfind('/') + 1);
    struct stat st{};
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return usage("the program's folder does not exist: " + folder);
    std::optional<std::string> path = fromUtf8(programPath);
    if (!path) return usage("the program path cannot be held in CP932: " + programPath);
    options.programPath = *path;
    for (int a = i + 2; a < argc; ++a) {
        std::optional<std::string> param = fromUtf8(argv[a]);
        if (!param) return usage(std::string("a parameter cannot be held in CP932: ") + argv[a]);
        options.parameters.push_back(*param);
    }

    platform::posix::PosixFiles files;
    platform::headless::HeadlessBackend backend(std::move(options), files, std::cin, std::cout);
    platform::setWindowing(&backend);
    platform::setHost(&backend);
    int rc = app::programMain();
    platform::setHost(nullptr);
    platform::setWindowing(nullptr);
    return rc;
}
