// The main window's start-up sequence, run at its first showing, and the
// first-start setup that takes its place once per installation.
#include "app/EnvironmentDialog.h"
#include "app/MainWindow.h"
#include "generate/DefaultSetFiles.h"
#include "platform/errors.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/windowing.h"

namespace app {

namespace {

const setfile::Bilingual kBadParameters = {"   Tarvo の起動パラメータを確認して下さい。   ",
                                           "   Confirm Tarvo command line parameters.   "};

int toInteger(const std::string& text) {
    std::optional<int> value = platform::parseDecimal(text);
    if (!value) throw platform::ConvertError(text);
    return *value;
}

}  // namespace

std::optional<generate::ProgramFamily> MainWindow::family() const {
    return generate::programFamily(platform::fileNamePart(programPath_));
}

void MainWindow::FormShow() {
    if (startupDone_ != 1 && !runStartup()) return;
    applyLanguageTexts(language());
    startupDone_ = 1;
}

bool MainWindow::runStartup() {
    platform::Windowing& os = platform::windowing();
    MenuSetIniFile->setVisible(false);
    MenuEnglish->setEnabled(false);

    os.acceptDroppedFiles(*this, true);

    setFile_.setPath("");
    settingsConfirmed_ = 0;

    settings_ = readSettings(settingsFile(), programDirectory(), settingsUnreadable_);
    if (settingsUnreadable_) {
        const std::string name = platform::fileNamePart(settingsFile());
        tell({"   " + name + " を読み込めません。設定は既定の値で起動します。   ",
              "   " + name + " can not be read. Default settings are used.   "});
    }

    auto stopEarly = [this](const setfile::Bilingual& message) {
        tell(message);
        ListBox1.add("");
        return false;
    };

    const std::size_t count = parameters_.size();
    if (count == 0) {
        // Only a settings file that is not there at all makes a first start:
        // one that could not be read would have its set files offered for
        // overwriting.
        if (platform::files().kind(settingsFile()) == platform::FileKind::Missing) {
            runFirstStart();
            return true;
        }
        MenuSetIniFile->setVisible(true);
    }
    if (count == 1 || count == 2 || count == 4) {
        std::string path = programDirectory() + parameters_[0];
        if (!platform::files().exists(path)) {
            setFile_.setPath("");
            return stopEarly(setfile::kSetFileMissing);
        }
        setFile_.setPath(path);
    }
    if (count == 3 || count >= 5) return stopEarly(kBadParameters);
    if (count == 4) {
        int x = toInteger(parameters_[2]);
        int y = toInteger(parameters_[3]);
        if (x >= 0 && x <= os.screenWidth() && y >= 0 && y <= os.screenHeight()) setPosition(x, y);
        else centre();
    }
    if (count == 0) {
        centre();
        if (std::optional<generate::ProgramFamily> own = family()) {
            std::string path = programDirectory() + own->topSetFile;
            if (!platform::files().exists(path)) {
                setFile_.setPath("");
                return stopEarly(setfile::kSetFileMissing);
            }
            setFile_.setPath(path);
        }
    }
    ReadLauncherSetFile();
    return true;
}

void MainWindow::runFirstStart() {
    platform::Host& os = platform::host();
    const bool japanese =
        boxes_.askYesNo("    Do you set up Japanese Mode ?       ", setfile::kYes, setfile::kNo) == platform::mr::Yes;
    settings_.Japanese = japanese ? 1 : 0;
    settings_.English = japanese ? 0 : 1;
    tell({"   TARVO.INIファイルが存在しませんので、   \n\r   環境設定を実行します。   ",
          "    TARVO.INI file is not exist.  \n\r    Now start environment set.    "});

    systemKind_.clear();
    if (os.environmentVariable("SYSTEMROOT")) systemKind_ = "WINNT";
    if (os.environmentVariable("WINBOOTDIR")) systemKind_ = "WINDOWS";
    if (std::optional<std::string> windir = os.environmentVariable("WINDIR")) settings_.WindowsDir = *windir;

    Timer1.setInterval(0);
    runEnvironmentDialog({"/Z", settings_.WindowsDir + "\\", programDirectory(), false}, true);
    if (settingsConfirmed_ == 1) writeDefaultSetFiles();

    ListBox1.add("");
    MenuOption->setEnabled(false);
    tell({"   一度終了して、再起動して下さい。   ", "   Exit now, and please restart Tarvo.exe.   "});
}

std::string MainWindow::programForItems() const {
    std::optional<generate::ProgramFamily> own = family();
    return own ? platform::host().programNameForItems(own->program) : "";
}

void MainWindow::writeDefaultSetFiles() {
    // The items start this very program, named as the platform names it;
    // another program name has no family of its own.
    std::optional<generate::ProgramFamily> own = family();
    if (!own) return;
    // A failure escapes and ends the first-start setup as well.
    generate::writeDefaultSetFiles(programDirectory(),
                                   generate::defaultSetFiles(own->family16, settings_.WindowsDir, settings_.TarvoDir,
                                                             programForItems(), systemKind_),
                                   messages());
}

}  // namespace app
