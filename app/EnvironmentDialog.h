// The environment settings dialog: start state, "Save Form Position" and, at
// the first start only, the Windows and program directories.
#pragma once

#include <string>

#include "platform/widgets.h"
#include "setfile/Language.h"

namespace app {

// What the dialog shows and what Save gives back.
struct EnvironmentSettings {
    std::string state;  // "/N", "/I", "/C", "/Z" or a preset value
    std::string windowsDir;
    std::string tarvoDir;
    bool posSet = false;
};

class EnvironmentDialog : public platform::Form {
public:
    enum class Outcome { Saved, Cancelled, Closed };
    struct Result {
        Outcome outcome;
        EnvironmentSettings settings;  // what Save took; as given otherwise
    };

    // The directories change only at a first start, where `programForItems`
    // (the program the default set files start) bounds their length; Save
    // takes the focus while the settings of this run are not yet confirmed.
    EnvironmentDialog(const EnvironmentSettings& initial, bool directoriesEditable, std::string programForItems,
                      bool focusSave, const setfile::Messages& messages);
    ~EnvironmentDialog() override { destroy(); }

    // Shows the dialog modally. Cancel differs from the close box and Esc:
    // it takes back an earlier Save of this run.
    Result run();

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

    void FormCreate();
    void FormShow();
    void btnOkClick();
    void btnCanselClick();
    void FormKeyDown(int& key, platform::ShiftState shift);

private:
    // Selects the radio button whose code equals the state exactly, if any.
    void presetState(const std::string& state);

    const setfile::Messages messages_;
    const bool directoriesEditable_;
    const std::string programForItems_;
    const bool focusSave_;
    Result result_;
};

}  // namespace app
