#include "app/TForm1.h"

#include "app/TForm7.h"
#include "app/TForm8.h"
#include "platform/services.h"
#include "platform/text.h"

namespace app {

using platform::ShiftState;
namespace vk = platform::vk;

const char* const kYes = "Yes(&Y)";
const char* const kNo = "No(&N)";

TForm1::TForm1()
    : Form("TForm1", "Tarvo (Main)", 200, 366, platform::BorderStyle::Single, 13),
      //           name            left top  w    h    tab caption
      ListBox1(*this, "ListBox1",     5,   5, 190, 315, 0, /*sorted=*/false, /*itemHeight=*/18),
      btnStart(*this, "btnStart",     5, 330,  60,  30, 1, "RUN"),
      btnContStart(*this, "btnContStart", 70, 330, 60, 30, 2, "BAT"),
      btnExit(*this, "btnExit",     135, 330,  60,  30, 3, "EXIT"),
      Timer1(*this, "Timer1", 500),
      OpenDialog1(*this, "OpenDialog1", "Kesti Setting File (*.PRG)|*.PRG|All File (*.*)|*.*"),
      programPath_(platform::backend().programPath()),
      parameters_(platform::backend().programParameters()) {
    setMinimizeButton(true);
    platform::MainMenu& menu = createMenu();
    MenuSystem      = &menu.add("MenuSystem", "File(&F)");
    MenuSystemExit  = &MenuSystem->add("MenuSystemExit", "Exit(&X)");
    MenuOption      = &menu.add("MenuOption", "Options(&O)");
    MenuLauncherSet = &MenuOption->add("MenuLauncherSet", "Launcher Set(&L)...");
    MenuSortTarvo   = &MenuOption->add("MenuSortTarvo", "Sort Tarvo(&S)...");
    MenuSortKesti   = &MenuOption->add("MenuSortKesti", "Sort Kesti(&F)...");
    MenuEnglish     = &MenuOption->add("MenuEnglish", "English(&E)");
    MenuJapanese    = &MenuOption->add("MenuJapanese", "Japanese(&J)");
    MenuSetIniFile  = &MenuOption->add("MenuSetIniFile", "Set INI file(&I)...");
    MenuHelp        = &menu.add("MenuHelp", "Help(&H)");
    MenuHelpHelp    = &MenuHelp->add("MenuHelpHelp", "Help Topics(&C)");

    OnShow = [this] { FormShow(); };
    OnDestroy = [this] { FormDestroy(); };
    OnKeyDown = [this](int& key, ShiftState shift) { FormKeyDown(key, shift); };
    ListBox1.OnKeyDown = [this](int& key, ShiftState shift) { ListBox1KeyDown(key, shift); };
    ListBox1.OnDblClick = [this] { ListBoxClick(); };
    for (platform::Button* b : {&btnStart, &btnContStart, &btnExit}) {
        b->OnKeyDown = [this](int& key, ShiftState shift) { FormKeyDown(key, shift); };
    }
    btnStart.OnClick = [this] { btnStartClick(); };
    btnContStart.OnClick = [this] { btnContStartClick(); };
    btnExit.OnClick = [this] { btnExitClick(); };
    MenuSystemExit->OnClick = [this] { MenuSystemExitClick(); };
    MenuEnglish->OnClick = [this] { MenuEnglishClick(); };
    MenuJapanese->OnClick = [this] { MenuJapaneseClick(); };
    MenuHelpHelp->OnClick = [this] { MenuHelpHelpClick(); };
    MenuLauncherSet->OnClick = [this] { MenuLauncherSetClick(); };
    MenuSortTarvo->OnClick = [this] { MenuSortTarvoClick(); };
    MenuSortKesti->OnClick = [this] { MenuSortKestiClick(); };
    MenuSetIniFile->OnClick = [this] { MenuSetIniFileClick(); };
    Timer1.OnTimer = [this] { Timer1Timer(); };
    OnDropFiles = [this](platform::DroppedFiles& drop) { AddDroppedFile(drop); };

    FormCreate();
}

TForm1::~TForm1() { destroy(); }

void TForm1::FormCreate() {
    startupDone = 0;
    centre();
}

void TForm1::FormDestroy() {
    if (settingsConfirmed != 1) return;
    settings.Left = left();
    settings.Top = top();
    settings.Width = width();
    settings.Height = height();
    WriteIniFileValue();
}

std::string TForm1::programDirectory() const { return platform::directoryPart(programPath_); }

// ---------------------------------------------------------------- keys

void TForm1::FormKeyDown(int& key, ShiftState shift) {
    if (!shift.none()) return;
    switch (key) {
    case vk::Escape:
        close();
        break;
    case vk::Back:
        if (items.slot(1).key == "\\") {
            ListBox1.setItemIndex(0);
            SelectProgramRun();
        }
        break;
    case vk::F4:
        FocusMoveToApli();
        break;
    default:
        break;
    }
}

void TForm1::ListBox1KeyDown(int& key, ShiftState shift) {
    if (key == vk::Return) {
        if (shift.shiftOnly()) SelectProgramContinuasRun();
        else SelectProgramRun();
        return;
    }
    FormKeyDown(key, shift);
}

// ---------------------------------------------------------------- commands

void TForm1::btnExitClick() { close(); }
void TForm1::MenuSystemExitClick() { close(); }

void TForm1::FocusMoveToApli() {
    for (const char* windowClass : {"KestiMainWin", "ExploreWClass"}) {
        if (platform::backend().activateWindow(windowClass)) return;
    }
}

void TForm1::MenuHelpHelpClick() {
    constexpr int kHelpContents = 3;
    if (settings.Japanese == 1) platform::backend().showHelp("TARVO.HLP", kHelpContents);
    if (settings.English == 1) platform::backend().showHelp("TARVOE.HLP", kHelpContents);
}

void TForm1::Timer1Timer() {
    bool notice = parameters_.empty() ? settings.StateSet == "/I"
                                      : parameters_.size() >= 2 && (parameters_[1] == "/I" || parameters_[1] == "/i");
    if (!notice) return;
    TForm8 dialog(*this);  // its creation stops Timer1
    dialog.centre();
    dialog.showModal();
}

void TForm1::MenuSetIniFileClick() {
    Timer1.setInterval(0);
    TForm7 dialog(*this);
    dialog.presetState(settings.StateSet);
    dialog.Edit1.setText(settings.WindowsDir);
    dialog.Edit2.setText(settings.TarvoDir);
    dialog.CheckBox1.setChecked(settings.PosSet);
    // The directories change only by a new first start.
    dialog.Edit1.setEnabled(false);
    dialog.Edit2.setEnabled(false);
    dialog.centre();
    dialog.showModal();
}

// ---------------------------------------------------------------- information boxes

int TForm1::MsgDialog01(const std::string& message, const std::string& b1, const std::string& b2,
                        const std::string& b3) {
    return boxes.box3->ask(message, b1, b2, b3);
}

int TForm1::MsgDialog02(const std::string& message, const std::string& b1, const std::string& b2) {
    return boxes.box2->ask(message, b1, b2);
}

int TForm1::MsgDialog03(const std::string& message, const std::string& b1) { return boxes.box1->ask(message, b1); }

void TForm1::report(const Bilingual& message) { MsgDialog03(text(message), kYes); }

}  // namespace app
