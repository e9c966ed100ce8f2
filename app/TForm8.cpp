#include "app/TForm8.h"

#include "platform/services.h"

namespace app {

TForm8::TForm8(TForm1& main)
    : Form("TForm8", "Tarvo (Message Display)", 332, 83, platform::BorderStyle::Dialog, 19),
      //       name       left top  w    h  caption
      Label1(*this, "Label1", 20, 15, 300, 18, "起動時に最小化が指定されているので、"),
      Label2(*this, "Label2", 20, 50, 300, 18, "        自動的に最小化します。"),
      Timer1(*this, "Timer1", 3000),
      main_(main) {
    Timer1.OnTimer = [this] { Timer1Timer(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    FormCreate();
}

void TForm8::FormCreate() {
    // The main window shows the notice at most once.
    main_.Timer1.setInterval(0);
    const LanguageMode lang = main_.language();
    Label1.setCaption(lang.choose({"  起動時に最小化が指定されているので、 ", "    Form State parameter set minimized. "},
                                  Label1.caption()));
    Label2.setCaption(lang.choose({"          自動的に最小化します。       ", "         Now automaticaly minimized.    "},
                                  Label2.caption()));
}

void TForm8::Timer1Timer() {
    close();
    Timer1.setInterval(0);
}

void TForm8::FormCloseQuery(bool& canClose) {
    platform::backend().minimizeApplication();
    canClose = true;
}

}  // namespace app
