// Options > Launcher Set: the editor on the item table, then always a reload,
// which is what undoes a Cancel.
#include "app/TForm1.h"
#include "editor/TForm3.h"

namespace app {

void TForm1::MenuLauncherSetClick() {
    {
        editor::TForm3 setEditor(*this);
        setEditor.centre();
        setEditor.btnPaste.setEnabled(false);
        setEditor.refreshList(1);
        setEditor.showModal();
    }
    ReadLauncherSetFile();
}

}  // namespace app
