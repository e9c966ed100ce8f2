// Sort Kesti: the companion set file's titles sorted by key.
#pragma once

#include "generate/SortDialog.h"

namespace generate {

class TForm4 : public SortDialog {
public:
    explicit TForm4(const app::LanguageMode& language)
        : SortDialog("TForm4", "Tarvo (Sort Kesti)", language, {"Kesti 完了", "Kesti Done"}) {}
};

}  // namespace generate
