// Sort Tarvo: the current set's items sorted by key.
#pragma once

#include "generate/SortDialog.h"

namespace generate {

class TForm5 : public SortDialog {
public:
    explicit TForm5(const app::LanguageMode& language)
        : SortDialog("TForm5", "Tarvo (Sort Tarvo)", language, {"Tarvo 完了", "Tarvo Done"}) {}
};

}  // namespace generate
