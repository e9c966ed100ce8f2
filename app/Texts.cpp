// The main window's texts in both languages and the language commands.
#include "app/TForm1.h"

namespace app {

namespace {

struct WindowText {
    const char* name;
    Bilingual text;
};

const WindowText kMainTexts[] = {
    {"btnStart", {"起動", "RUN"}},
    {"btnContStart", {"連続", "BAT"}},
    {"btnExit", {"終了", "EXIT"}},
    {"MenuSystem", {"ﾌｧｲﾙ(&F)", "File(&F)"}},
    {"MenuSystemExit", {"終了(&X)", "Exit(&X)"}},
    {"MenuOption", {"ｵﾌﾟｼｮﾝ(&O)", "Options(&O)"}},
    {"MenuLauncherSet", {"ﾗﾝﾁｬｰ設定(&L)...", "Launcher Set(&L)..."}},
    {"MenuSortTarvo", {"ｿｰﾄTarvo(&S)...", "Sort Tarvo(&S)..."}},
    {"MenuSortKesti", {"ｿｰﾄKesti(&F)...", "Sort Kesti(&F)..."}},
    {"MenuEnglish", {"英語(&E)", "English(&E)"}},
    {"MenuJapanese", {"日本語(&J)", "Japanese(&J)"}},
    {"MenuSetIniFile", {"INIﾌｧｲﾙ設定(&I)", "Set INI file(&I)"}},
    {"MenuHelp", {"ﾍﾙﾌﾟ(&H)", "Help(&H)"}},
    {"MenuHelpHelp", {"ﾍﾙﾌﾟ表示(&C)", "Help Topics(&C)"}},
};

}  // namespace

void TForm1::setLanguageTexts(bool english) {
    for (const WindowText& t : kMainTexts) {
        const std::string& caption = english ? t.text.en : t.text.ja;
        if (platform::Control* c = findControl(t.name)) c->setCaption(caption);
        else menu()->find(t.name)->setCaption(caption);
    }
    // Only the other language can be chosen.
    MenuJapanese->setEnabled(english);
    MenuEnglish->setEnabled(!english);
}

void TForm1::applyLanguageTexts() {
    if (settings.Japanese == 1) setLanguageTexts(false);
    if (settings.English == 1) setLanguageTexts(true);
}

void TForm1::MenuEnglishClick() {
    settings.Japanese = 0;
    settings.English = 1;
    setLanguageTexts(true);
}

void TForm1::MenuJapaneseClick() {
    settings.Japanese = 1;
    settings.English = 0;
    setLanguageTexts(false);
}

}  // namespace app
