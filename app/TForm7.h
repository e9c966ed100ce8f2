// The environment settings dialog: start state, "Save Form Position" and, at
// the first start only, the Windows and program directories.
#pragma once

#include "app/TForm1.h"
#include "platform/widgets.h"

namespace app {

class TForm7 : public platform::Form {
public:
    explicit TForm7(TForm1& main);
    ~TForm7() override { destroy(); }

    platform::Label Label1;
    platform::Label Label2;
    platform::Edit Edit1;
    platform::Edit Edit2;
    platform::RadioButton RadioBtnN;
    platform::RadioButton RadioBtnI;
    platform::RadioButton RadioBtnC;
    platform::RadioButton RadioBtnZ;
    platform::CheckBox CheckBox1;
    platform::Button btnOk;
    platform::Button btnCansel;
    platform::Label Label3;
    platform::Label Label4;

    std::string chosenState;  // "/N", "/I", "/C", "/Z" or a preset value

    void FormCreate();
    void FormShow();
    void btnOkClick();
    void btnCanselClick();
    void FormKeyDown(int& key, platform::ShiftState shift);
    int MsgDialog03(const std::string& message, const std::string& button) {
        return main_.MsgDialog03(message, button);
    }

    // Selects the radio button whose code equals the state exactly, if any.
    void presetState(const std::string& state);

private:
    TForm1& main_;
};

}  // namespace app
