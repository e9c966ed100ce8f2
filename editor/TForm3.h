// The launcher set editor: New, Edit, Up, Down, Cut, Copy, Paste, Delete on
// the main window's item table in place; OK writes the current set file.
#pragma once

#include "app/TForm1.h"
#include "platform/widgets.h"

namespace editor {

class TForm3 : public platform::Form {
public:
    explicit TForm3(app::TForm1& main);
    ~TForm3() override { destroy(); }

    platform::ListBox ListBox1;
    platform::Button btnOk;
    platform::Button btnCansel;
    platform::Button btnAdd;
    platform::Button btnEdit;
    platform::Button btnUp;
    platform::Button btnDown;
    platform::Button btnCut;
    platform::Button btnCopy;
    platform::Button btnPaste;
    platform::Button btnDel;

    void FormCreate();
    void ListBox1KeyDown(int& key, platform::ShiftState shift);
    void FormKeyDown(int& key, platform::ShiftState shift);
    void btnOkClick();
    void btnCanselClick();
    void btnAddClick();
    void btnEditClick();
    void KoumokuUp();
    void KoumokuDown();
    void KoumokuCut();
    void KoumokuCopy();
    void KoumokuPaste();
    void KoumokuDelete();
    int MsgDialog03(const std::string& message, const std::string& button) {
        return main_.MsgDialog03(message, button);
    }

    // Rebuilds the list from the table and selects `line` (from 1), or the
    // placeholder when no slot is in use.
    void refreshList(int line);

private:
    int selectedLine() const { return ListBox1.itemIndex() + 1; }
    int lineCount() const { return ListBox1.count(); }
    void cutOrDelete(bool enablePaste);
    bool refuseWhenFull();
    void openItemDialog(bool fill);

    app::TForm1& main_;
    setfile::LauncherItem clipboard_;
};

}  // namespace editor
