// The first-start setup: language, environment dialog, default set files.
#include "app/TForm1.h"
#include "app/TForm7.h"
#include "platform/services.h"

namespace app {

void TForm1::FirstStartSetup() {
    platform::Backend& os = platform::backend();
    const bool japanese = MsgDialog02("    Do you set up Japanese Mode ?       ", kYes, kNo) == platform::mr::Yes;
    settings.Japanese = japanese ? 1 : 0;
    settings.English = japanese ? 0 : 1;
    report({"   TARVO.INIファイルが存在しませんので、   \n\r   環境設定を実行します。   ",
            "    TARVO.INI file is not exist.  \n\r    Now start environment set.    "});

    systemKind.clear();
    if (os.environmentVariable("SYSTEMROOT")) systemKind = "WINNT";
    if (os.environmentVariable("WINBOOTDIR")) systemKind = "WINDOWS";
    if (std::optional<std::string> windir = os.environmentVariable("WINDIR")) settings.WindowsDir = *windir;

    Timer1.setInterval(0);
    {
        TForm7 dialog(*this);
        dialog.presetState("/Z");
        dialog.Edit1.setText(settings.WindowsDir + "\\");
        dialog.Edit2.setText(programDirectory());
        dialog.CheckBox1.setChecked(false);
        dialog.centre();
        dialog.showModal();
    }
    if (settingsConfirmed == 1) PrgSetFileCreate();

    ListBox1.add("");
    MenuOption->setEnabled(false);
    report({"   一度終了して、再起動して下さい。   ", "   Exit now, and please restart Tarvo.exe.   "});
}

}  // namespace app
