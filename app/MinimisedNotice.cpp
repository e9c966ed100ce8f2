#include "app/MinimisedNotice.h"

#include "platform/windowing.h"
#include "setfile/Captions.h"

namespace app {

MinimisedNotice::MinimisedNotice(const setfile::LanguageMode& language)
    // clang-format off
    : Form("TForm8", "Tarvo (Message Display)", 332, 83, platform::BorderStyle::Dialog, 19),
      //       name       left top  w    h  caption
      Label1(*this, "Label1", 20, 15, 300, 18, "起動時に最小化が指定されているので、"),
      Label2(*this, "Label2", 20, 50, 300, 18, "        自動的に最小化します。"),
      Timer1(*this, "Timer1", 3000) {
    // clang-format on
    Timer1.OnTimer = [this] { Timer1Timer(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    FormCreate(language);
}

void MinimisedNotice::run() {
    centre();
    showModal();
}

void MinimisedNotice::FormCreate(const setfile::LanguageMode& language) {
    const setfile::CaptionText captions[] = {
        {Label1, {"  起動時に最小化が指定されているので、 ", "    Form State parameter set minimized. "}},
        {Label2, {"          自動的に最小化します。       ", "         Now automaticaly minimized.    "}},
    };
    setfile::applyCaptions(language, captions);
}

void MinimisedNotice::Timer1Timer() {
    close();
    Timer1.setInterval(0);
}

void MinimisedNotice::FormCloseQuery(bool& canClose) {
    platform::windowing().minimizeApplication();
    canClose = true;
}

}  // namespace app
