// The start-minimised notice: shown once, it minimises the application when
// it closes, by itself after three seconds or earlier by the user.
#pragma once

#include "platform/widgets.h"
#include "setfile/Language.h"

namespace app {

class MinimisedNotice : public platform::Form {
public:
    explicit MinimisedNotice(const setfile::LanguageMode& language);
    ~MinimisedNotice() override { destroy(); }

    // Shows the notice modally until it closes.
    void run();

    platform::Label Label1;
    platform::Label Label2;
    platform::Timer Timer1;

    void FormCreate(const setfile::LanguageMode& language);
    void Timer1Timer();
    void FormCloseQuery(bool& canClose);
};

}  // namespace app
