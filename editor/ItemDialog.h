// The item edit dialog: five boxes for one item; OK gives them back once they
// would read back from the set file as typed.
#pragma once

#include <optional>

#include "platform/widgets.h"
#include "setfile/Language.h"
#include "setfile/SetFile.h"

namespace editor {

class ItemDialog : public platform::Form {
public:
    // The boxes show `item` (a blank key shows as empty); `slot` numbers the
    // item in messages.
    ItemDialog(int slot, const setfile::LauncherItem& item, const setfile::Messages& messages);
    ~ItemDialog() override { destroy(); }

    // Shows the dialog modally; the item OK accepted, or nothing.
    std::optional<setfile::LauncherItem> run();

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

private:
    const int slot_;
    const setfile::Messages messages_;
    std::optional<setfile::LauncherItem> stored_;
};

}  // namespace editor
