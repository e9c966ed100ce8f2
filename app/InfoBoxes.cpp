#include "app/InfoBoxes.h"

namespace app {

namespace mr = platform::mr;

InfoBox::InfoBox(std::string className)
    : Form(std::move(className), "Information", 392, 123, platform::BorderStyle::Dialog, 19),
      Label1(*this, "Label1", 10, 10, 375, 60, "", /*centred=*/true) {
    setMessageBox(true);
}

int InfoBox::ask(const std::string& message, const std::string& button1, const std::string& button2,
                 const std::string& button3) {
    Label1.setCaption(message);
    const std::string* texts[3] = {&button1, &button2, &button3};
    for (int i = 0; i < 3 && buttons_[i]; ++i) buttons_[i]->setCaption(*texts[i]);
    focus(buttons_[0]);
    centre();
    return showModal();
}

// clang-format off
//                    name       left top  w    h   tab caption result
YesNoCancelBox::YesNoCancelBox()
    : InfoBox("TForm10"),
      Button1(*this, "Button1", 30,  85, 100, 25, 0, "", mr::Yes),
      Button2(*this, "Button2", 150, 85, 100, 25, 1, "", mr::No),
      Button3(*this, "Button3", 270, 85, 100, 25, 2, "", mr::Cancel) {
    buttons_[0] = &Button1;
    buttons_[1] = &Button2;
    buttons_[2] = &Button3;
}

YesNoBox::YesNoBox()
    : InfoBox("TForm11"),
      Button1(*this, "Button1", 90,  85, 100, 25, 0, "", mr::Yes),
      Button2(*this, "Button2", 210, 85, 100, 25, 1, "", mr::No) {
    buttons_[0] = &Button1;
    buttons_[1] = &Button2;
}

OkBox::OkBox()
    : InfoBox("TForm12"),
      Button1(*this, "Button1", 142, 85, 100, 25, 0, "", mr::Yes) {
    buttons_[0] = &Button1;
}
// clang-format on

}  // namespace app
