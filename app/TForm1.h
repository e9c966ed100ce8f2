// The main window: the list of items, RUN/BAT/EXIT, the menus, and the state
// the whole program shares (item table, current set file, settings).
#pragma once

#include <string>
#include <vector>

#include "app/InfoBox.h"
#include "app/Language.h"
#include "app/Settings.h"
#include "generate/Companion.h"
#include "platform/services.h"
#include "platform/widgets.h"
#include "setfile/SetFile.h"

namespace app {

struct InfoBoxes {
    TForm10* box3 = nullptr;
    TForm11* box2 = nullptr;
    TForm12* box1 = nullptr;
};

class TForm1 : public platform::Form {
public:
    TForm1();
    ~TForm1() override;

    // Controls
    platform::ListBox ListBox1;
    platform::Button btnStart;
    platform::Button btnContStart;
    platform::Button btnExit;
    platform::Timer Timer1;
    platform::OpenDialog OpenDialog1;
    platform::MenuItem* MenuSystem;
    platform::MenuItem* MenuSystemExit;
    platform::MenuItem* MenuOption;
    platform::MenuItem* MenuLauncherSet;
    platform::MenuItem* MenuSortTarvo;
    platform::MenuItem* MenuSortKesti;
    platform::MenuItem* MenuEnglish;
    platform::MenuItem* MenuJapanese;
    platform::MenuItem* MenuSetIniFile;
    platform::MenuItem* MenuHelp;
    platform::MenuItem* MenuHelpHelp;

    // Shared state
    setfile::ItemTable items;
    std::string currentSetFile;
    SettingsRecord settings;  // holds the language flags, too
    int settingsConfirmed = 0;
    int startupDone = 0;
    std::string systemKind;
    int editSlot = 1;  // where the item edit dialog stores its result
    generate::CompanionTable companionTitles{};
    InfoBoxes boxes;

    LanguageMode language() const { return {settings.Japanese, settings.English}; }
    // The message in the language mode ("" when neither flag is set).
    std::string text(const Bilingual& message) const { return language().message(message); }

    // Handlers
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void FormKeyDown(int& key, platform::ShiftState shift);
    void ListBox1KeyDown(int& key, platform::ShiftState shift);
    void btnStartClick();
    void ListBoxClick();
    void btnContStartClick();
    void btnExitClick();
    void MenuSystemExitClick();
    void MenuEnglishClick();
    void MenuJapaneseClick();
    void MenuHelpHelpClick();
    void MenuLauncherSetClick();
    void MenuSetIniFileClick();
    void MenuSortTarvoClick();
    void MenuSortKestiClick();
    void Timer1Timer();
    void AddDroppedFile(platform::DroppedFiles& drop);

    // Operations
    void ReadLauncherSetFile();
    void SelectProgramRun();
    void SelectProgramContinuasRun();
    void ReadIniFileValue();
    void WriteIniFileValue();
    void FocusMoveToApli();
    void PrgSetFileCreate();
    // Runs once per installation, in place of reading a set file.
    void FirstStartSetup();
    int MsgDialog01(const std::string& message, const std::string& b1, const std::string& b2,
                    const std::string& b3);
    int MsgDialog02(const std::string& message, const std::string& b1, const std::string& b2);
    int MsgDialog03(const std::string& message, const std::string& b1);
    // The one-button box with "Yes(&Y)", text in the language mode.
    void report(const Bilingual& message);

    // The program file and its command-line parameters.
    const std::string& programPath() const { return programPath_; }
    const std::vector<std::string>& parameters() const { return parameters_; }
    std::string programDirectory() const;
    std::string settingsFile() const { return settingsFilePath(programPath_); }
    // The program file's name for comparing with "TARVO.EXE": a name without
    // extension compares as if ".EXE" followed it.
    std::string comparableProgramName() const;

private:
    // Language texts of the window, by the choosing rule.
    void applyLanguageTexts();
    void setLanguageTexts(bool english);
    // The start-up steps; false when the sequence stopped early.
    bool runStartup();

    std::string programPath_;
    std::vector<std::string> parameters_;
};

// The item a dropped file becomes: its name as the title, its folder as the
// start-in directory, no options and no key.
setfile::LauncherItem itemFromDroppedPath(const std::string& path);

// "Yes(&Y)" and "No(&N)", the button texts in both languages.
extern const char* const kYes;
extern const char* const kNo;

}  // namespace app
