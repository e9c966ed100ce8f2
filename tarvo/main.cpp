// tarvo: the launcher on a Linux desktop.
#include <FL/Fl.H>
#include <FL/fl_ask.H>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "app/Program.h"
#include "platform/fltk/FltkBackend.h"
#include "platform/posix/PosixHost.h"
#include "platform/posix/convert.h"
#include "platform/posix/program.h"

namespace {

// Standard error takes plain stdio: iostreams would add some 300 KB of
// start-up code to the program for two lines.
const char* programName = "tarvo";

void noDisplay(const std::string& why) {
    std::fprintf(stderr, "tarvo: %s.\ntarvo: start it on a desktop, or under a virtual X server: xvfb-run -a %s\n",
                 why.c_str(), programName);
    std::exit(1);
}

// FLTK's last word when it cannot go on, such as a display it cannot open.
void fatal(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    noDisplay(text);
}

// A user who starts the program from a menu sees no standard error: the
// reason goes into a message box as well. `japanese` is CP932 as every
// literal here; `what` is the UTF-8 text at fault.
int refuseToStart(const std::string& english, const std::string& japanese, const std::string& what) {
    std::fprintf(stderr, "tarvo: %s: %s\n", english.c_str(), what.c_str());
    fl_message_title("tarvo");
    fl_alert("%s", (platform::toUtf8Display(japanese) + "\n" + what + "\n\n" + english + ":\n" + what).c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 0) programName = argv[0];
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) noDisplay("no X display (DISPLAY is not set)");
    Fl::fatal = fatal;

    std::string path = platform::posix::absoluteProgramPath(argc > 0 ? argv[0] : "tarvo");
    std::optional<std::string> programPath = platform::posix::fromUtf8(path);
    if (!programPath) {
        return refuseToStart("the program's path cannot be held in the CP932 code page",
                             "プログラムのパスに CP932 で表せない文字があります:", path);
    }
    std::vector<std::string> parameters;
    for (int i = 1; i < argc; ++i) {
        std::optional<std::string> p = platform::posix::fromUtf8(argv[i]);
        if (!p) {
            return refuseToStart("a parameter cannot be held in the CP932 code page",
                                 "起動パラメータに CP932 で表せない文字があります:", argv[i]);
        }
        parameters.push_back(*p);
    }
    platform::posix::PosixHost host(*programPath, std::move(parameters));
    platform::setHost(&host);
    platform::fltk::FltkBackend backend;
    platform::setWindowing(&backend);
    int rc = app::programMain();
    platform::setHost(nullptr);
    platform::setWindowing(nullptr);
    return rc;
}
