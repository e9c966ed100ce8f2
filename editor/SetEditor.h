// The launcher set editor: New, Edit, Up, Down, Cut, Copy, Paste, Delete on
// its copy of the item table; OK writes the current set file.
#pragma once

#include <optional>
#include <string>

#include "platform/widgets.h"
#include "setfile/CurrentSetFile.h"
#include "setfile/Language.h"
#include "setfile/SetFile.h"

namespace editor {

class SetEditor : public platform::Form {
public:
    // OK saves through `setFile`, which knows what was read of it, so that
    // OK never silently replaces items it could not read or changes made
    // elsewhere since.
    SetEditor(const setfile::ItemTable& items, setfile::CurrentSetFile& setFile, const setfile::Messages& messages);
    ~SetEditor() override { destroy(); }

    // Shows the editor modally; whether OK saved the set file.
    bool run();

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

    // Rebuilds the list from the table and selects `line` (from 1), or the
    // placeholder when no slot is in use.
    void refreshList(int line);

private:
    int selectedLine() const { return ListBox1.itemIndex() + 1; }
    int lineCount() const { return ListBox1.count(); }
    void cutOrDelete(bool enablePaste);
    bool refuseWhenFull();
    // The item dialog for a slot; what it stored, if anything, goes there.
    void openItemDialog(int slot, bool fill);

    setfile::ItemTable items_;
    setfile::CurrentSetFile& setFile_;
    const setfile::Messages messages_;
    setfile::LauncherItem clipboard_;
    bool saved_ = false;
};

}  // namespace editor
