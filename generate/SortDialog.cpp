#include "generate/SortDialog.h"

namespace generate {

using platform::ShiftState;
namespace vk = platform::vk;

SortDialog::SortDialog(std::string className, std::string caption, const app::LanguageMode& language,
                       const app::Bilingual& doneCaption)
    : Form(std::move(className), std::move(caption), 200, 385, platform::BorderStyle::Dialog, 13),
      //        name         left top  w    h  tab
      ListBox1(*this, "ListBox1", 5,  5, 190, 335, 1, /*sorted=*/true, /*itemHeight=*/18),
      btnOk(*this, "btnOk",      45, 347, 100, 30, 0, "") {
    ListBox1.OnKeyDown = [this](int& key, ShiftState shift) { ListBox1KeyDown(key, shift); };
    btnOk.OnKeyDown = [this](int& key, ShiftState shift) { FormKeyDown(key, shift); };
    btnOk.OnClick = [this] { btnOkClick(); };
    // FormCreate: the button's caption in the language mode.
    btnOk.setCaption(language.choose(doneCaption, doneCaption.en));
}

void SortDialog::ListBox1KeyDown(int& key, ShiftState) {
    if (key == vk::Return || key == vk::Escape) close();
}

void SortDialog::FormKeyDown(int& key, ShiftState) {
    if (key == vk::Escape) close();
}

}  // namespace generate
