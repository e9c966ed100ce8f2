#include "app/MainWindow.h"

#include <algorithm>

#include "app/EnvironmentDialog.h"
#include "app/MinimisedNotice.h"
#include "editor/SetEditor.h"
#include "generate/Companion.h"
#include "generate/SortDialog.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/windowing.h"
#include "setfile/Captions.h"
#include "setfile/DroppedFile.h"

namespace app {

using platform::ShiftState;
namespace vk = platform::vk;

MainWindow::MainWindow(setfile::InfoBoxes& boxes)
    // clang-format off
    : Form("TForm1", "Tarvo (Main)", 200, 366, platform::BorderStyle::Single, 13),
      //           name            left top  w    h    tab caption
      ListBox1(*this, "ListBox1",     5,   5, 190, 315, 0, /*sorted=*/false, /*itemHeight=*/18),
      btnStart(*this, "btnStart",     5, 330,  60,  30, 1, "RUN"),
      btnContStart(*this, "btnContStart", 70, 330, 60, 30, 2, "BAT"),
      btnExit(*this, "btnExit",     135, 330,  60,  30, 3, "EXIT"),
      Timer1(*this, "Timer1", 500),
      OpenDialog1(*this, "OpenDialog1", "Kesti Setting File (*.PRG)|*.PRG|All File (*.*)|*.*"),
      boxes_(boxes),
      programPath_(platform::host().programPath()),
      parameters_(platform::host().programParameters()) {
    // clang-format on
    setMinimizeButton(true);
    platform::MainMenu& menu = createMenu();
    // clang-format off
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
    // clang-format on

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

MainWindow::~MainWindow() { destroy(); }

void MainWindow::FormCreate() {
    startupDone_ = 0;
    centre();
}

void MainWindow::FormDestroy() {
    if (settingsConfirmed_ != 1) return;
    settings_.Left = left();
    settings_.Top = top();
    settings_.Width = width();
    settings_.Height = height();
    if (settingsUnreadable_) throw settingsNotWritten(settingsFile());
    if (writeSettings(settingsFile(), settings_) == platform::WriteResult::FolderNotFlushed) {
        tell(setfile::folderNotFlushed(platform::fileNamePart(settingsFile())));
    }
}

std::string MainWindow::programDirectory() const { return platform::directoryPart(programPath_); }

// ---------------------------------------------------------------- keys

void MainWindow::FormKeyDown(int& key, ShiftState shift) {
    if (!shift.none()) return;
    switch (key) {
    case vk::Escape: close(); break;
    case vk::Back:
        if (items_.slot(1).key == "\\") {
            ListBox1.setItemIndex(0);
            runSelected();
        }
        break;
    case vk::F4: bringCompanionToFront(); break;
    default: break;
    }
}

void MainWindow::ListBox1KeyDown(int& key, ShiftState shift) {
    if (key == vk::Return) {
        if (shift.shiftOnly()) runBatch();
        else runSelected();
        return;
    }
    FormKeyDown(key, shift);
}

// ---------------------------------------------------------------- the set file

void MainWindow::ReadLauncherSetFile() {
    items_.clear();
    std::optional<setfile::ReadResult> result = setFile_.read();
    if (!result) {
        tell(setfile::kSetFileMissing);
        ListBox1.add("");
        return;
    }
    items_ = result->items;
    if (result->fault != setfile::Fault::None) {
        // The list keeps its previous lines.
        tell(setfile::faultMessage(result->fault, result->itemNumber));
        return;
    }
    ListBox1.clear();
    for (std::string& line : setfile::listLines(items_)) ListBox1.add(std::move(line));
    ListBox1.setItemIndex(0);
}

void MainWindow::AddDroppedFile(platform::DroppedFiles& drop) {
    struct Release {
        platform::DroppedFiles& drop;
        ~Release() { drop.finish(); }
    } release{drop};

    const std::string path = drop.query(0, setfile::kDropBuffer);
    const setfile::LauncherItem item = setfile::itemFromDroppedPath(path);
    for (;;) {
        const int n = items_.countInUse();
        if (n >= setfile::kSlots) {
            tell(setfile::kTableFull);
            return;
        }
        // A set file that does not read back would stop loading at every start.
        if (std::optional<setfile::Bilingual> refusal = setfile::dropRefusal(item, n + 1)) {
            tell(*refusal);
            return;
        }
        setfile::ItemTable added = items_;
        added.slot(n + 1) = item;
        // A failed write escapes to the framework's report with nothing changed.
        switch (setFile_.save(added, n + 1, messages(), /*askWhenChanged=*/false)) {
        case setfile::CurrentSetFile::SaveOutcome::NotSaved: return;
        case setfile::CurrentSetFile::SaveOutcome::ChangedElsewhere:
            // Another launcher wrote the file since: add to what it holds now.
            ReadLauncherSetFile();
            continue;
        case setfile::CurrentSetFile::SaveOutcome::Saved:
            ReadLauncherSetFile();
            ListBox1.setItemIndex(n);
            return;
        }
    }
}

// ---------------------------------------------------------------- launching

void MainWindow::btnStartClick() { runSelected(); }
void MainWindow::ListBoxClick() { runSelected(); }
void MainWindow::btnContStartClick() { runBatch(); }

namespace {
bool hasItems(const platform::ListBox& list) { return list.count() > 0 && !list.lines()[0].empty(); }
}  // namespace

void MainWindow::runSelected() {
    if (!hasItems(ListBox1) || ListBox1.itemIndex() < 0) return;
    int slot = ListBox1.itemIndex() + 1;
    // A missing set file adds a line to a full list: no item stands there.
    if (slot > setfile::kSlots) return;
    setfile::AfterLaunch action = setfile::decideAfterLaunch(parameters_, settings_.StateSet);
    if (!setfile::startItem(items_.slot(slot))) {
        tell(setfile::launchFailure(slot, false));
        return;
    }
    afterLaunch(action);
}

void MainWindow::runBatch() {
    if (!hasItems(ListBox1)) return;
    setfile::AfterLaunch action = setfile::decideAfterLaunch(parameters_, settings_.StateSet);
    int last = std::min(ListBox1.count(), setfile::kSlots);
    for (int slot = 2; slot <= last; ++slot) {
        if (items_.slot(slot).key != "\\") continue;
        if (!setfile::startItem(items_.slot(slot))) {
            tell(setfile::launchFailure(slot, true));
            return;
        }
    }
    afterLaunch(action);
}

void MainWindow::afterLaunch(const setfile::AfterLaunch& action) {
    if (action.close) close();
    if (action.minimize) platform::windowing().minimizeApplication();
}

// ---------------------------------------------------------------- commands

void MainWindow::btnExitClick() { close(); }
void MainWindow::MenuSystemExitClick() { close(); }

void MainWindow::bringCompanionToFront() {
    for (const char* windowClass : {"KestiMainWin", platform::kFileExplorerClass}) {
        if (platform::windowing().activateWindow(windowClass)) return;
    }
}

void MainWindow::MenuHelpHelpClick() {
    constexpr int kHelpContents = 3;
    if (settings_.Japanese == 1) platform::windowing().showHelp("TARVO.HLP", kHelpContents);
    if (settings_.English == 1) platform::windowing().showHelp("TARVOE.HLP", kHelpContents);
}

void MainWindow::Timer1Timer() {
    if (setfile::startState(parameters_, settings_.StateSet) != "/I") return;
    // The notice shows at most once.
    Timer1.setInterval(0);
    MinimisedNotice(language()).run();
}

void MainWindow::MenuLauncherSetClick() {
    editor::SetEditor(items_, setFile_, messages()).run();
    // Always a reload: it is what undoes a Cancel.
    ReadLauncherSetFile();
}

void MainWindow::MenuSortTarvoClick() {
    std::vector<setfile::LauncherItem> slots;
    for (int n = 1; n <= setfile::kSlots; ++n) slots.push_back(items_.slot(n));
    generate::SortTarvoDialog(language(), generate::sortLines(slots)).run();
}

void MainWindow::MenuSortKestiClick() {
    OpenDialog1.fileName = "KESTI.PRG";
    OpenDialog1.initialDir = programDirectory();
    if (!OpenDialog1.execute()) return;
    if (OpenDialog1.pathLost) {
        tell(setfile::kRefusals.codePage);
        return;
    }
    const std::string path = OpenDialog1.fileName;
    if (!platform::files().exists(path)) {
        tell(setfile::kSetFileMissing);
        return;
    }
    generate::CompanionResult result =
        generate::parseCompanionFile(platform::files().readAtMost(path, generate::kCompanionReadLimit).bytes);
    std::optional<std::vector<std::string>> lines;
    if (result.fault == generate::CompanionFault::None) lines = generate::sortLines(result.titles);
    else tell(generate::companionFaultMessage(result.fault, result.itemNumber));
    generate::SortKestiDialog(language(), std::move(lines)).run();
}

void MainWindow::MenuSetIniFileClick() {
    Timer1.setInterval(0);
    runEnvironmentDialog({settings_.StateSet, settings_.WindowsDir, settings_.TarvoDir, settings_.PosSet}, false);
}

void MainWindow::runEnvironmentDialog(const EnvironmentSettings& initial, bool firstStart) {
    EnvironmentDialog::Result result =
        EnvironmentDialog(initial, firstStart, firstStart ? programForItems() : "", settingsConfirmed_ == 0, messages())
            .run();
    switch (result.outcome) {
    case EnvironmentDialog::Outcome::Saved:
        settings_.StateSet = result.settings.state;
        settings_.WindowsDir = result.settings.windowsDir;
        settings_.TarvoDir = result.settings.tarvoDir;
        settings_.PosSet = result.settings.posSet;
        settingsConfirmed_ = 1;
        // Kept for this run; said now, not first at the exit.
        if (settingsUnreadable_) throw settingsNotWritten(settingsFile());
        break;
    case EnvironmentDialog::Outcome::Cancelled: settingsConfirmed_ = 0; break;
    case EnvironmentDialog::Outcome::Closed: break;
    }
}

// ---------------------------------------------------------------- languages

void MainWindow::applyLanguageTexts(const setfile::LanguageMode& mode) {
    const setfile::CaptionText captions[] = {
        {btnStart, {"起動", "RUN"}},
        {btnContStart, {"連続", "BAT"}},
        {btnExit, {"終了", "EXIT"}},
        {*MenuSystem, {"ﾌｧｲﾙ(&F)", "File(&F)"}},
        {*MenuSystemExit, {"終了(&X)", "Exit(&X)"}},
        {*MenuOption, {"ｵﾌﾟｼｮﾝ(&O)", "Options(&O)"}},
        {*MenuLauncherSet, {"ﾗﾝﾁｬｰ設定(&L)...", "Launcher Set(&L)..."}},
        {*MenuSortTarvo, {"ｿｰﾄTarvo(&S)...", "Sort Tarvo(&S)..."}},
        {*MenuSortKesti, {"ｿｰﾄKesti(&F)...", "Sort Kesti(&F)..."}},
        {*MenuEnglish, {"英語(&E)", "English(&E)"}},
        {*MenuJapanese, {"日本語(&J)", "Japanese(&J)"}},
        {*MenuSetIniFile, {"INIﾌｧｲﾙ設定(&I)", "Set INI file(&I)"}},
        {*MenuHelp, {"ﾍﾙﾌﾟ(&H)", "Help(&H)"}},
        {*MenuHelpHelp, {"ﾍﾙﾌﾟ表示(&C)", "Help Topics(&C)"}},
    };
    setfile::applyCaptions(mode, captions);
    // Only the other language can be chosen.
    if (mode.japanese == 1 || mode.english == 1) {
        const bool english = mode.english == 1;
        MenuJapanese->setEnabled(english);
        MenuEnglish->setEnabled(!english);
    }
    // English wins when both flags are set, as it does for the captions.
    platform::windowing().languageChanged(mode.english != 1 && mode.japanese == 1);
}

void MainWindow::MenuEnglishClick() {
    settings_.Japanese = 0;
    settings_.English = 1;
    applyLanguageTexts(language());
}

void MainWindow::MenuJapaneseClick() {
    settings_.Japanese = 1;
    settings_.English = 0;
    applyLanguageTexts(language());
}

}  // namespace app
