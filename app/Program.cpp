#include "app/Program.h"

#include "app/InfoBoxes.h"
#include "app/MainWindow.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/windowing.h"

namespace app {

int programMain() {
    // The title is the program file's name up to its first ".".
    std::string name = platform::fileNamePart(platform::host().programPath());
    platform::setApplicationTitle(name.substr(0, name.find('.')));

    InformationBoxes boxes;
    {
        MainWindow main(boxes);
        main.runAsMain();
        main.destroy();
    }
    platform::windowing().programEnded();
    return 0;
}

}  // namespace app
