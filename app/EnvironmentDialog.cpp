#include "app/EnvironmentDialog.h"

#include "generate/DefaultSetFiles.h"
#include "platform/windowing.h"
#include "setfile/Captions.h"

namespace app {

using platform::ShiftState;
namespace vk = platform::vk;

EnvironmentDialog::EnvironmentDialog(const EnvironmentSettings& initial, bool directoriesEditable,
                                     std::string programForItems, bool focusSave, const setfile::Messages& messages)
    // clang-format off
    : Form("TForm7", "Tarvo (Set Environment)", 532, 283, platform::BorderStyle::Dialog, 19),
      //          name        left top  w    h  [tab] caption
      Label1(*this, "Label1",     10,  15, 150, 18, "Windows   Directory"),
      Label2(*this, "Label2",     10,  50, 150, 18, "Tarvo.exe Directory"),
      Edit1(*this, "Edit1",      180,  10, 340, 26, 0),
      Edit2(*this, "Edit2",      180,  45, 340, 26, 1),
      RadioBtnN(*this, "RadioBtnN", 10,  95, 280, 21, 2, "Start Normal    : After Minimized(&N)"),
      RadioBtnI(*this, "RadioBtnI", 10, 125, 280, 21, 3, "Start Minimized : After Minimized(&I):"),
      RadioBtnC(*this, "RadioBtnC", 10, 155, 280, 21, 4, "Start Normal    : After Normal(&C)"),
      RadioBtnZ(*this, "RadioBtnZ", 10, 185, 280, 21, 5, "Start Normal    : After Exit(&Z)"),
      CheckBox1(*this, "CheckBox1", 320, 95, 160, 21, 6, "Save Form Position"),
      btnOk(*this, "btnOk",         310, 180, 100, 30, 7, "Save(&S)"),
      btnCansel(*this, "btnCansel", 420, 180, 100, 30, 8, "Cancel"),
      Label3(*this, "Label3",        20, 230, 500, 18, "If you want to change directory name, please operate as bellow. "),
      Label4(*this, "Label4",        20, 255, 500, 18, "First you delete Tarvo.ini, Second you restart Tarvo.exe. "),
      messages_(messages),
      directoriesEditable_(directoriesEditable),
      programForItems_(std::move(programForItems)),
      focusSave_(focusSave),
      result_{Outcome::Closed, initial} {
    // clang-format on
    RadioBtnN.OnClick = [this] { result_.settings.state = "/N"; };
    RadioBtnI.OnClick = [this] { result_.settings.state = "/I"; };
    RadioBtnC.OnClick = [this] { result_.settings.state = "/C"; };
    RadioBtnZ.OnClick = [this] { result_.settings.state = "/Z"; };
    btnOk.OnClick = [this] { btnOkClick(); };
    btnCansel.OnClick = [this] { btnCanselClick(); };
    OnShow = [this] { FormShow(); };
    OnKeyDown = [this](int& key, ShiftState shift) { FormKeyDown(key, shift); };
    for (platform::Control* c : controls()) {
        c->OnKeyDown = [this](int& key, ShiftState shift) { FormKeyDown(key, shift); };
    }
    FormCreate();
    presetState(initial.state);
    Edit1.setText(initial.windowsDir);
    Edit2.setText(initial.tarvoDir);
    CheckBox1.setChecked(initial.posSet);
    Edit1.setEnabled(directoriesEditable);
    Edit2.setEnabled(directoriesEditable);
}

EnvironmentDialog::Result EnvironmentDialog::run() {
    centre();
    showModal();
    return result_;
}

void EnvironmentDialog::FormCreate() {
    const setfile::CaptionText captions[] = {
        {Label1, {"Windows   ﾃﾞｨﾚｸﾄﾘ名", "Windows   Directory"}},
        {Label2, {"Tarvo.exe ﾃﾞｨﾚｸﾄﾘ名", "Tarvo.exe Directory"}},
        {Label3,
         {"Tarvo.ini ﾌｧｲﾙが存在する場合はﾃﾞｨﾚｸﾄﾘ名の変更はできません。",
          "If you want to change directory name, please operate as follows."}},
        {Label4,
         {"Tarvo.ini を削除した後に、再度 Tarvo.exe を起動して下さい。",
          "First you delete Tarvo.ini, Second you restart Tarvo.exe."}},
        {btnOk, {"保存(&S)", "Save(&S)"}},
        {btnCansel, {"Cancel", "Cancel"}},
        {RadioBtnN, {"通常起動　 : 最小化する(&N)", "Start Normal    : After Minimized(&N)"}},
        {RadioBtnI, {"最小化起動 : 最小化する(&I)", "Start Minimized : After Minimized(&I)"}},
        {RadioBtnC, {"通常起動　 : 最小化しない(&C)", "Start Normal    : After Normal(&C)"}},
        {RadioBtnZ, {"通常起動　 : 終了する(&Z)", "Start Normal    : After Exit(&Z)"}},
        {CheckBox1, {"画面位置保存", "Save Form Position"}},
    };
    setfile::applyCaptions(messages_.language, captions);
}

void EnvironmentDialog::presetState(const std::string& state) {
    for (auto [radio, code] : {std::pair{&RadioBtnZ, "/Z"}, std::pair{&RadioBtnN, "/N"}, std::pair{&RadioBtnI, "/I"},
                               std::pair{&RadioBtnC, "/C"}}) {
        if (state == code) radio->setChecked(true);
    }
}

void EnvironmentDialog::FormShow() {
    if (focusSave_) btnOk.setFocus();
}

void EnvironmentDialog::btnOkClick() {
    if (Edit1.text().empty()) {
        messages_.tell({"   Windows ディレクトリ名が空白です。   \n\r   必ず指定して下さい。   ",
                        "    Please set Windows directory name.   "});
        return;
    }
    if (Edit2.text().empty()) {
        platform::showWarning(
            messages_.text({"   Tarvo.exe ディレクトリ名が空白です。   \n\r   必ず指定して下さい。   ",
                            "    Please set Tarvo.exe directory name.   "}));
        return;
    }
    // What is typed here goes into the INI and the default set files.
    if (directoriesEditable_) {
        if (auto refusal = generate::directoryRefusal(Edit1.text(), Edit2.text(), programForItems_)) {
            messages_.tell(*refusal);
            return;
        }
    }
    result_.outcome = Outcome::Saved;
    result_.settings.windowsDir = Edit1.text();
    result_.settings.tarvoDir = Edit2.text();
    result_.settings.posSet = CheckBox1.checked();
    close();
}

void EnvironmentDialog::btnCanselClick() {
    result_.outcome = Outcome::Cancelled;
    close();
}

void EnvironmentDialog::FormKeyDown(int& key, ShiftState) {
    if (key == vk::Escape) close();
}

}  // namespace app
