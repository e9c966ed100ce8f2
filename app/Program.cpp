#include "app/Program.h"

#include "app/TForm1.h"
#include "platform/services.h"
#include "platform/text.h"

namespace app {

int programMain() {
    // The title is the program file's name up to its first ".".
    std::string name = platform::fileNamePart(platform::backend().programPath());
    platform::setApplicationTitle(name.substr(0, name.find('.')));

    TForm1 main;
    TForm10 box3;
    TForm11 box2;
    TForm12 box1;
    main.boxes = {&box3, &box2, &box1};

    main.runAsMain();
    main.destroy();
    platform::backend().programEnded();
    return 0;
}

}  // namespace app
