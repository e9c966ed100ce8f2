// The two sort dialogs share one layout: a sorted list of key-and-title
// lines and a button that closes it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/widgets.h"
#include "setfile/Language.h"
#include "setfile/SetFile.h"

namespace generate {

class SortDialog : public platform::Form {
public:
    platform::ListBox ListBox1;
    platform::Button btnOk;

    // Shows the lines, sorted, the first one selected; the placeholder,
    // selected, when there are none; an empty list when there is nothing to
    // list (a faulty companion file).
    void run();

    void ListBox1KeyDown(int& key, platform::ShiftState shift);
    void FormKeyDown(int& key, platform::ShiftState shift);
    void btnOkClick() { close(); }

protected:
    SortDialog(std::string className, std::string caption, const setfile::LanguageMode& language,
               const setfile::Bilingual& doneCaption, std::optional<std::vector<std::string>> lines);
    ~SortDialog() override { destroy(); }

private:
    std::optional<std::vector<std::string>> lines_;
};

// Sort Tarvo: the current set's items sorted by key.
class SortTarvoDialog : public SortDialog {
public:
    SortTarvoDialog(const setfile::LanguageMode& language, std::vector<std::string> lines)
        : SortDialog("TForm5", "Tarvo (Sort Tarvo)", language, {"Tarvo 完了", "Tarvo Done"}, std::move(lines)) {}
};

// Sort Kesti: the companion set file's titles sorted by key.
class SortKestiDialog : public SortDialog {
public:
    SortKestiDialog(const setfile::LanguageMode& language, std::optional<std::vector<std::string>> lines)
        : SortDialog("TForm4", "Tarvo (Sort Kesti)", language, {"Kesti 完了", "Kesti Done"}, std::move(lines)) {}
};

// The list lines of every entry with a title, in table order.
template <typename Entries>
std::vector<std::string> sortLines(const Entries& entries) {
    std::vector<std::string> lines;
    for (const auto& e : entries) {
        if (!e.title.empty()) lines.push_back(setfile::listLine(e.key, e.title));
    }
    return lines;
}

}  // namespace generate
