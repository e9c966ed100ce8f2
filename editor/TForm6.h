// The item edit dialog: five boxes for one item; OK stores them into the main
// window's edit slot once they would read back from the set file as typed.
#pragma once

#include <optional>

#include "app/TForm1.h"
#include "platform/widgets.h"

namespace editor {

class TForm6 : public platform::Form {
public:
    explicit TForm6(app::TForm1& main);
    ~TForm6() override { destroy(); }

    platform::Label Label1;
    platform::Label Label2;
    platform::Label Label3;
    platform::Label Label4;
    platform::Label Label5;
    platform::Edit Edit1;
    platform::Edit Edit2;
    platform::Edit Edit3;
    platform::Edit Edit4;
    platform::Edit Edit5;
    platform::Button btnOk;
    platform::Button btnCansel;
    platform::Button btnRef;
    platform::OpenDialog OpenDialog;

    void FormCreate();
    void btnOkClick() { EditBoxCheck(); }
    void btnCanselClick() { close(); }
    void btnRefClick();
    void TEditKeyDown(int& key, platform::ShiftState shift);
    void FormKeyDown(int& key, platform::ShiftState shift);
    void EditBoxCheck();
    int MsgDialog03(const std::string& message, const std::string& button) {
        return main_.MsgDialog03(message, button);
    }

    // The boxes shown for an existing item (a blank key shows as empty).
    void fillFrom(const setfile::LauncherItem& item);

private:
    app::TForm1& main_;
};

// Why the boxes cannot be stored into the slot, or nothing when they can: a
// title and a target are required, and nothing may be stored that the set
// file would not read back as it was typed.
std::optional<app::Bilingual> checkItemBoxes(const setfile::LauncherItem& boxes, int slot);

}  // namespace editor
