// The main window: the list of items, RUN/BAT/EXIT, the menus, and the state
// the whole program shares (item table, current set file, settings).
#pragma once

#include <string>
#include <vector>

#include "app/SettingsFile.h"
#include "generate/DefaultSetFiles.h"
#include "platform/widgets.h"
#include "platform/windowing.h"
#include "setfile/CurrentSetFile.h"
#include "setfile/Language.h"
#include "setfile/Launch.h"
#include "setfile/SetFile.h"

namespace app {

struct EnvironmentSettings;

class MainWindow : public platform::Form {
public:
    explicit MainWindow(setfile::InfoBoxes& boxes);
    ~MainWindow() override;

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
    void runSelected();
    void runBatch();
    void bringCompanionToFront();
    void writeDefaultSetFiles();
    // Runs once per installation, in place of reading a set file.
    void runFirstStart();

private:
    setfile::LanguageMode language() const { return {settings_.Japanese, settings_.English}; }
    setfile::Messages messages() const { return {language(), boxes_}; }
    void tell(const setfile::Bilingual& message) const { messages().tell(message); }
    // Shows the environment dialog and takes what it decided.
    void runEnvironmentDialog(const EnvironmentSettings& initial, bool firstStart);
    // Language texts of the window, by the choosing rule.
    void applyLanguageTexts(const setfile::LanguageMode& mode);
    // The start-up steps; false when the sequence stopped early.
    bool runStartup();
    void afterLaunch(const setfile::AfterLaunch& action);
    std::string programDirectory() const;
    std::string settingsFile() const { return settingsFilePath(programPath_); }
    // This program's family of set files, if its name has one.
    std::optional<generate::ProgramFamily> family() const;
    // The program the default set files start; empty for a program name
    // that has no family of them.
    std::string programForItems() const;

    setfile::InfoBoxes& boxes_;
    const std::string programPath_;
    const std::vector<std::string> parameters_;
    setfile::ItemTable items_;
    setfile::CurrentSetFile setFile_;
    SettingsRecord settings_;          // holds the language flags, too
    bool settingsUnreadable_ = false;  // then never written in this run
    int settingsConfirmed_ = 0;
    int startupDone_ = 0;
    std::string systemKind_;
};

}  // namespace app
