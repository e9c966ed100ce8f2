#include "editor/ItemDialog.h"

#include "editor/ItemEditing.h"
#include "setfile/Captions.h"

namespace editor {

using platform::ShiftState;
namespace vk = platform::vk;

ItemDialog::ItemDialog(int slot, const setfile::LauncherItem& item, const setfile::Messages& messages)
    // clang-format off
    : Form("TForm6", "Tarvo (Edit)", 540, 214, platform::BorderStyle::Sizeable, 13),
      //      name          left top  w    h        caption
      Label1(*this, "Label1", 10,  15, 140, 20, "Target Title(&T)"),
      Label2(*this, "Label2", 10,  50, 140, 20, "Target(&G)"),
      Label3(*this, "Label3", 10,  85, 140, 20, "Options(&P)"),
      Label4(*this, "Label4", 10, 120, 140, 20, "Start in(&I)"),
      Label5(*this, "Label5", 10, 155, 140, 20, "Shortcut Key(&S)"),
      //      name          left top  w    h  tab limit
      Edit1(*this, "Edit1", 150,  10, 260, 26, 0, setfile::kTitleLimit),
      Edit2(*this, "Edit2", 150,  45, 370, 26, 1, setfile::kFieldLimit),
      Edit3(*this, "Edit3", 150,  80, 370, 26, 2, setfile::kFieldLimit),
      Edit4(*this, "Edit4", 150, 115, 370, 26, 3, setfile::kFieldLimit),
      Edit5(*this, "Edit5", 150, 150,  20, 26, 4, 1),
      btnOk(*this, "btnOk",         310, 150, 100, 30, 5, "OK(&O)"),
      btnCansel(*this, "btnCansel", 420, 150, 100, 30, 6, "Cancel"),
      btnRef(*this, "btnRef",       420,   8, 100, 30, 7, "Browse(&B)..."),
      OpenDialog(*this, "OpenDialog",
                 "Exe File (EXE;COM)|*.EXE;*.COM|Pif File (PIF;BAT;LNK)|*.PIF;*.BAT;*.LNK|All File (*.*)|*.*"),
      slot_(slot),
      messages_(messages) {
    // clang-format on
    Label1.focusControl = &Edit1;
    Label2.focusControl = &Edit2;
    Label3.focusControl = &Edit3;
    Label4.focusControl = &Edit4;
    Label5.focusControl = &Edit5;
    for (platform::Edit* e : {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5}) {
        e->OnKeyDown = [this](int& key, ShiftState shift) { TEditKeyDown(key, shift); };
    }
    for (platform::Button* b : {&btnOk, &btnCansel, &btnRef}) {
        b->OnKeyDown = [this](int& key, ShiftState shift) { FormKeyDown(key, shift); };
    }
    btnOk.OnClick = [this] { btnOkClick(); };
    btnCansel.OnClick = [this] { btnCanselClick(); };
    btnRef.OnClick = [this] { btnRefClick(); };
    FormCreate();
    Edit1.setText(item.title);
    Edit2.setText(item.target);
    Edit3.setText(item.options);
    Edit4.setText(item.directory);
    Edit5.setText(item.key == " " ? "" : item.key);
}

std::optional<setfile::LauncherItem> ItemDialog::run() {
    centre();
    showModal();
    return stored_;
}

void ItemDialog::FormCreate() {
    const setfile::CaptionText captions[] = {
        {Label1, {"ﾌﾟﾛｸﾞﾗﾑﾀｲﾄﾙ(&T)", "Target Title(&T)"}},
        {Label2, {"実行ﾌｧｲﾙ名(&G)", "Target(&G)"}},
        {Label3, {"ｵﾌﾟｼｮﾝ(&P)", "Options(&P)"}},
        {Label4, {"実行ﾃﾞｨﾚｸﾄﾘ名(&I)", "Start in(&I)"}},
        {Label5, {"起動ｼｮｰﾄｶｯﾄｷｰ(&S)", "Shortcut Key(&S)"}},
        {btnOk, {"OK(&O)", "OK(&O)"}},
        {btnCansel, {"Cancel", "Cancel"}},
        {btnRef, {"参照(&B)...", "Browse(&B)..."}},
    };
    setfile::applyCaptions(messages_.language, captions);
}

void ItemDialog::TEditKeyDown(int& key, ShiftState) {
    if (key == vk::Return) EditBoxCheck();
    else if (key == vk::Escape) close();
}

void ItemDialog::FormKeyDown(int& key, ShiftState) {
    if (key == vk::Escape) close();
}

void ItemDialog::EditBoxCheck() {
    setfile::LauncherItem boxes{Edit1.text(), Edit2.text(), Edit3.text(), Edit4.text(), Edit5.text()};
    // Browse may bring in longer texts than typing allows.
    if (std::optional<setfile::Bilingual> refusal = setfile::itemRefusal(boxes, slot_)) {
        messages_.tell(*refusal);
        return;
    }
    if (boxes.key.empty()) boxes.key = " ";
    stored_ = boxes;
    close();
}

void ItemDialog::btnRefClick() {
    if (!OpenDialog.execute()) return;
    if (OpenDialog.pathLost) {
        messages_.tell(setfile::kRefusals.codePage);
        return;
    }
    BrowseResult chosen = fromChosenFile(OpenDialog.fileName, Edit1.text());
    // Set whole, even beyond what typing takes: OK refuses what is too long.
    Edit1.setText(chosen.title);
    Edit2.setText(chosen.target);
    Edit3.setText("");
    Edit4.setText(chosen.directory);
}

}  // namespace editor
