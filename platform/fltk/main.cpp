// tarvo: the launcher on a Linux desktop.
#include <X11/Xlib.h>

#include <clocale>
#include <cstdlib>
#include <iostream>

#include "app/Program.h"
#include "platform/fltk/FltkBackend.h"
#include "platform/posix/convert.h"
#include "platform/posix/program.h"

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    Display* probe = display && *display ? XOpenDisplay(nullptr) : nullptr;
    if (!probe) {
        std::cerr << "tarvo: no X display " << (display && *display ? std::string("at ") + display : "(DISPLAY is not set)")
                  << ".\n"
                     "tarvo: start it on a desktop, or under a virtual X server: xvfb-run -a "
                  << (argc > 0 ? argv[0] : "tarvo") << "\n";
        return 1;
    }
    XCloseDisplay(probe);

    // The input method follows the user's locale, so Japanese can be typed.
    std::setlocale(LC_CTYPE, "");

    std::string path = platform::posix::absoluteProgramPath(argc > 0 ? argv[0] : "tarvo");
    std::optional<std::string> programPath = platform::posix::fromUtf8(path);
    if (!programPath) {
        std::cerr << "tarvo: the program's path cannot be held in the CP932 code page: " << path << "\n";
        return 1;
    }
    std::vector<std::string> parameters;
    for (int i = 1; i < argc; ++i) {
        std::optional<std::string> p = platform::posix::fromUtf8(argv[i]);
        if (!p) {
            std::cerr << "tarvo: a parameter cannot be held in the CP932 code page: " << argv[i] << "\n";
            return 1;
        }
        parameters.push_back(*p);
    }
    platform::fltk::FltkBackend backend(*programPath, std::move(parameters));
    platform::setBackend(&backend);
    int rc = app::programMain();
    platform::setBackend(nullptr);
    return rc;
}
