#include "generate/SortDialog.h"

#include "setfile/Captions.h"

namespace generate {

using platform::ShiftState;
namespace vk = platform::vk;

SortDialog::SortDialog(std::string className, std::string caption, const setfile::LanguageMode& language,
                       const setfile::Bilingual& doneCaption, std::optional<std::vector<std::string>> lines)
    // clang-format off
    : Form(std::move(className), std::move(caption), 200, 385, platform::BorderStyle::Dialog, 13),
      //        name         left top  w    h  tab
      ListBox1(*this, "ListBox1", 5,  5, 190, 335, 1, /*sorted=*/true, /*itemHeight=*/18),
      btnOk(*this, "btnOk",      45, 347, 100, 30, 0, doneCaption.en),
      lines_(std::move(lines)) {
    // clang-format on
    ListBox1.OnKeyDown = [this](int& key, ShiftState shift) { ListBox1KeyDown(key, shift); };
    btnOk.OnKeyDown = [this](int& key, ShiftState shift) { FormKeyDown(key, shift); };
    btnOk.OnClick = [this] { btnOkClick(); };
    setfile::applyCaptions(language, {{btnOk, doneCaption}});
}

void SortDialog::run() {
    centre();
    if (lines_) {
        for (const std::string& line : *lines_) ListBox1.add(line);
        if (ListBox1.count() == 0) ListBox1.add("");
        ListBox1.setItemIndex(0);
    }
    showModal();
}

void SortDialog::ListBox1KeyDown(int& key, ShiftState) {
    if (key == vk::Return || key == vk::Escape) close();
}

void SortDialog::FormKeyDown(int& key, ShiftState) {
    if (key == vk::Escape) close();
}

}  // namespace generate
