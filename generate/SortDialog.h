// The two sort dialogs share one layout: a sorted list of key-and-title
// lines and a button that closes it.
#pragma once

#include <string>

#include "app/Language.h"
#include "platform/widgets.h"

namespace generate {

class SortDialog : public platform::Form {
public:
    platform::ListBox ListBox1;
    platform::Button btnOk;

    void ListBox1KeyDown(int& key, platform::ShiftState shift);
    void FormKeyDown(int& key, platform::ShiftState shift);
    void btnOkClick() { close(); }

    // Adds the line of every entry with a title; the placeholder, selected,
    // when there is none, else the first sorted line is selected.
    template <typename Entries>
    void fill(const Entries& entries) {
        ListBox1.clear();
        for (const auto& e : entries) {
            if (!e.title.empty()) ListBox1.add(e.key + "  " + e.title);
        }
        if (ListBox1.count() == 0) ListBox1.add("");
        ListBox1.setItemIndex(0);
    }

protected:
    SortDialog(std::string className, std::string caption, const app::LanguageMode& language,
               const app::Bilingual& doneCaption);
    ~SortDialog() override { destroy(); }
};

}  // namespace generate
