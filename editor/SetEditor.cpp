#include "editor/SetEditor.h"

#include "editor/ItemDialog.h"
#include "editor/ItemEditing.h"
#include "setfile/Captions.h"

namespace editor {

using platform::ShiftState;
namespace vk = platform::vk;

SetEditor::SetEditor(const setfile::ItemTable& items, setfile::CurrentSetFile& setFile,
                     const setfile::Messages& messages)
    // clang-format off
    : Form("TForm3", "Tarvo (Set Launcher)", 322, 368, platform::BorderStyle::Dialog, 13),
      //        name          left top  w    h  tab caption
      ListBox1(*this, "ListBox1", 5,  5, 190, 315, 0, /*sorted=*/false, /*itemHeight=*/18),
      btnOk(*this, "btnOk",       5, 330, 90, 30, 1, "OK(&O)"),
      btnCansel(*this, "btnCansel", 105, 330, 90, 30, 2, "Cancel"),
      btnAdd(*this, "btnAdd",   205,  15, 110, 30, 3, "New(&N)..."),
      btnEdit(*this, "btnEdit", 205,  50, 110, 30, 4, "Edit(&E)..."),
      btnUp(*this, "btnUp",     205, 100, 110, 30, 5, "Up(&P)"),
      btnDown(*this, "btnDown", 205, 135, 110, 30, 6, "Down(&W)"),
      btnCut(*this, "btnCut",   205, 185, 110, 30, 7, "Cut(&X)"),
      btnCopy(*this, "btnCopy", 205, 220, 110, 30, 8, "Copy(&C)"),
      btnPaste(*this, "btnPaste", 205, 255, 110, 30, 9, "Paste(&V)"),
      btnDel(*this, "btnDel",   205, 290, 110, 30, 10, "Delete(&D)"),
      items_(items),
      setFile_(setFile),
      messages_(messages) {
    // clang-format on
    ListBox1.OnKeyDown = [this](int& key, ShiftState shift) { ListBox1KeyDown(key, shift); };
    for (platform::Button* b :
         {&btnOk, &btnCansel, &btnAdd, &btnEdit, &btnUp, &btnDown, &btnCut, &btnCopy, &btnPaste, &btnDel}) {
        b->OnKeyDown = [this](int& key, ShiftState shift) { FormKeyDown(key, shift); };
    }
    btnOk.OnClick = [this] { btnOkClick(); };
    btnCansel.OnClick = [this] { btnCanselClick(); };
    btnAdd.OnClick = [this] { btnAddClick(); };
    btnEdit.OnClick = [this] { btnEditClick(); };
    btnUp.OnClick = [this] { KoumokuUp(); };
    btnDown.OnClick = [this] { KoumokuDown(); };
    btnCut.OnClick = [this] { KoumokuCut(); };
    btnCopy.OnClick = [this] { KoumokuCopy(); };
    btnPaste.OnClick = [this] { KoumokuPaste(); };
    btnDel.OnClick = [this] { KoumokuDelete(); };
    FormCreate();
}

void SetEditor::FormCreate() {
    const setfile::CaptionText captions[] = {
        {btnOk, {"OK(&O)", "OK(&O)"}},
        {btnCansel, {"Cancel", "Cancel"}},
        {btnAdd, {"新規追加(&N)...", "New(&N)..."}},
        {btnEdit, {"編集(&E)...", "Edit(&E)..."}},
        {btnUp, {"一つ上へ(&P)", "Up(&P)"}},
        {btnDown, {"一つ下へ(&W)", "Down(&W)"}},
        {btnCut, {"ｶｯﾄ(&X)", "Cut(&X)"}},
        {btnCopy, {"ｺﾋﾟｰ(&C)", "Copy(&C)"}},
        {btnPaste, {"貼付(&V)", "Paste(&V)"}},
        {btnDel, {"削除(&D)", "Delete(&D)"}},
    };
    setfile::applyCaptions(messages_.language, captions);
}

bool SetEditor::run() {
    centre();
    btnPaste.setEnabled(false);
    refreshList(1);
    showModal();
    return saved_;
}

void SetEditor::refreshList(int line) {
    ListBox1.clear();
    for (std::string& text : setfile::listLines(items_)) ListBox1.add(std::move(text));
    if (items_.countInUse() == 0) line = 1;
    ListBox1.setItemIndex(line - 1);
}

// ---------------------------------------------------------------- keys

void SetEditor::ListBox1KeyDown(int& key, ShiftState) {
    if (key == vk::Return) btnOkClick();
    else if (key == vk::Escape) close();
}

void SetEditor::FormKeyDown(int& key, ShiftState) {
    if (key == vk::Escape) close();
}

// ---------------------------------------------------------------- OK, Cancel, New, Edit

void SetEditor::btnOkClick() {
    // On No, or a failed write (the framework's report), the editor stays open.
    if (setFile_.save(items_, lineCount(), messages_, /*askWhenChanged=*/true) !=
        setfile::CurrentSetFile::SaveOutcome::Saved) {
        return;
    }
    saved_ = true;
    close();
}

void SetEditor::btnCanselClick() { close(); }

bool SetEditor::refuseWhenFull() {
    if (lineCount() < setfile::kSlots) return false;
    messages_.tell(setfile::kTableFull);
    return true;
}

void SetEditor::openItemDialog(int slot, bool fill) {
    ItemDialog dialog(slot, fill ? items_.slot(slot) : setfile::LauncherItem{}, messages_);
    if (std::optional<setfile::LauncherItem> stored = dialog.run()) items_.slot(slot) = *stored;
}

void SetEditor::btnAddClick() {
    if (refuseWhenFull()) return;
    openItemDialog(ListBox1.lines()[0].empty() ? 1 : lineCount() + 1, false);
    refreshList(items_.countInUse());
}

void SetEditor::btnEditClick() {
    int s = selectedLine();
    openItemDialog(s, true);
    refreshList(s);
}

// ---------------------------------------------------------------- clipboard and order

void SetEditor::KoumokuUp() {
    int s = selectedLine();
    if (s < 2) return;
    swapSlots(items_, s - 1, s);
    refreshList(s - 1);
}

void SetEditor::KoumokuDown() {
    int s = selectedLine();
    if (s > lineCount() - 1) return;
    swapSlots(items_, s, s + 1);
    refreshList(s + 1);
}

void SetEditor::KoumokuCopy() {
    btnPaste.setEnabled(true);
    clipboard_ = items_.slot(selectedLine());
}

void SetEditor::cutOrDelete(bool enablePaste) {
    if (enablePaste) btnPaste.setEnabled(true);
    int s = selectedLine(), n = lineCount();
    int after = s == n ? n - 1 : s;
    clipboard_ = removeSlot(items_, s, n);
    refreshList(after);
}

void SetEditor::KoumokuCut() { cutOrDelete(true); }
void SetEditor::KoumokuDelete() { cutOrDelete(false); }

void SetEditor::KoumokuPaste() {
    // An item without a title is no item: pasting it would leave an empty
    // slot in front of the items after it.
    if (!clipboard_.inUse()) return;
    if (refuseWhenFull()) return;
    int s = selectedLine();
    int n = items_.countInUse();
    insertSlot(items_, std::min(s, n + 1), n, clipboard_);
    refreshList(std::min(s, n + 1));
}

}  // namespace editor
