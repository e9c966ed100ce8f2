// The start-up sequence, run at the main window's first showing.
#include "app/TForm1.h"
#include "platform/errors.h"
#include "platform/services.h"
#include "platform/text.h"

namespace app {

namespace {

const Bilingual kBadParameters = {"   Tarvo の起動パラメータを確認して下さい。   ",
                                  "   Confirm Tarvo command line parameters.   "};

int toInteger(const std::string& text) {
    std::optional<int> value = platform::parseDecimal(text);
    if (!value) throw platform::ConvertError(text);
    return *value;
}

}  // namespace

std::string TForm1::comparableProgramName() const {
    std::string name = platform::fileNamePart(programPath_);
    if (name.find('.') == std::string::npos) name += ".EXE";
    return name;
}

void TForm1::FormShow() {
    if (startupDone != 1 && !runStartup()) return;
    applyLanguageTexts();
    startupDone = 1;
}

bool TForm1::runStartup() {
    platform::Backend& os = platform::backend();
    MenuSetIniFile->setVisible(false);
    MenuEnglish->setEnabled(false);
    settings.Japanese = 1;
    settings.English = 0;

    os.acceptDroppedFiles(*this, true);

    currentSetFile.clear();
    settingsConfirmed = 0;

    ReadIniFileValue();

    auto stopEarly = [this](const Bilingual& message) {
        report(message);
        ListBox1.add("");
        return false;
    };

    const std::size_t count = parameters_.size();
    if (count == 0) {
        // One settings file name for this test and for reading and writing.
        if (!platform::files().exists(settingsFile())) {
            FirstStartSetup();
            return true;
        }
        MenuSetIniFile->setVisible(true);
    }
    if (count == 1 || count == 2 || count == 4) {
        std::string path = programDirectory() + parameters_[0];
        if (!platform::files().exists(path)) {
            currentSetFile.clear();
            return stopEarly(setfile::kSetFileMissing);
        }
        currentSetFile = path;
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
        const std::string name = comparableProgramName();
        for (auto [program, setFile] : {std::pair{"TARVO.EXE", "TARVO90.PRG"}, std::pair{"TARVO16.EXE", "TARVO80.PRG"}}) {
            if (!platform::equalsIgnoreAsciiCase(name, program)) continue;
            std::string path = programDirectory() + setFile;
            if (!platform::files().exists(path)) {
                currentSetFile.clear();
                return stopEarly(setfile::kSetFileMissing);
            }
            currentSetFile = path;
        }
    }
    ReadLauncherSetFile();
    return true;
}

}  // namespace app
