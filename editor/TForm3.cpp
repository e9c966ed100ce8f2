#include "app/Captions.h"
#include "editor/TForm3.h"

#include "editor/ItemEditing.h"
#include "editor/TForm6.h"

namespace editor {

using platform::ShiftState;
namespace vk = platform::vk;

namespace {
const app::Bilingual kTableFull = {"    設定個数は １６ 個までです。          ", "    Launcher can set max 16 items.   "};
}  // namespace

TForm3::TForm3(app::TForm1& main)
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
      main_(main) {
    ListBox1.OnKeyDown = [this](int& key, ShiftState shift) { ListBox1KeyDown(key, shift); };
    for (platform::Button* b : {&btnOk, &btnCansel, &btnAdd, &btnEdit, &btnUp, &btnDown, &btnCut, &btnCopy,
                                &btnPaste, &btnDel}) {
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

void TForm3::FormCreate() {
    const app::LanguageMode lang = main_.language();
    app::applyCaptions(lang, {
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
    });
}

void TForm3::refreshList(int line) {
    ListBox1.clear();
    const setfile::ItemTable& items = main_.items;
    for (int slot = 1; slot <= setfile::kSlots; ++slot) {
        if (items.slot(slot).inUse()) ListBox1.add(setfile::listLine(items.slot(slot)));
    }
    if (ListBox1.count() == 0) {
        ListBox1.add("");
        line = 1;
    }
    ListBox1.setItemIndex(line - 1);
}

// ---------------------------------------------------------------- keys

void TForm3::ListBox1KeyDown(int& key, ShiftState) {
    if (key == vk::Return) btnOkClick();
    else if (key == vk::Escape) close();
}

void TForm3::FormKeyDown(int& key, ShiftState) {
    if (key == vk::Escape) close();
}

// ---------------------------------------------------------------- OK, Cancel, New, Edit

void TForm3::btnOkClick() {
    // A failed write escapes to the framework's report; the editor stays open.
    setfile::writeSetFile(main_.currentSetFile, main_.items, lineCount());
    close();
}

void TForm3::btnCanselClick() { close(); }

bool TForm3::refuseWhenFull() {
    if (lineCount() < setfile::kSlots) return false;
    MsgDialog03(main_.text(kTableFull), app::kYes);
    return true;
}

void TForm3::openItemDialog(bool fill) {
    TForm6 dialog(main_);
    if (fill) dialog.fillFrom(main_.items.slot(main_.editSlot));
    dialog.centre();
    dialog.showModal();
}

void TForm3::btnAddClick() {
    if (refuseWhenFull()) return;
    main_.editSlot = ListBox1.lines()[0].empty() ? 1 : lineCount() + 1;
    openItemDialog(false);
    refreshList(main_.items.countInUse());
}

void TForm3::btnEditClick() {
    int s = selectedLine();
    main_.editSlot = s;
    openItemDialog(true);
    refreshList(s);
}

// ---------------------------------------------------------------- clipboard and order

void TForm3::KoumokuUp() {
    int s = selectedLine();
    if (s < 2) return;
    swapSlots(main_.items, s - 1, s);
    refreshList(s - 1);
}

void TForm3::KoumokuDown() {
    int s = selectedLine();
    if (s > lineCount() - 1) return;
    swapSlots(main_.items, s, s + 1);
    refreshList(s + 1);
}

void TForm3::KoumokuCopy() {
    btnPaste.setEnabled(true);
    clipboard_ = main_.items.slot(selectedLine());
}

void TForm3::cutOrDelete(bool enablePaste) {
    if (enablePaste) btnPaste.setEnabled(true);
    int s = selectedLine(), n = lineCount();
    int after = s == n ? n - 1 : s;
    clipboard_ = removeSlot(main_.items, s, n);
    refreshList(after);
}

void TForm3::KoumokuCut() { cutOrDelete(true); }
void TForm3::KoumokuDelete() { cutOrDelete(false); }

void TForm3::KoumokuPaste() {
    // An item without a title is no item: pasting it would leave an empty
    // slot in front of the items after it.
    if (!clipboard_.inUse()) return;
    if (refuseWhenFull()) return;
    int s = selectedLine();
    int n = main_.items.countInUse();
    insertSlot(main_.items, std::min(s, n + 1), n, clipboard_);
    refreshList(std::min(s, n + 1));
}

}  // namespace editor
