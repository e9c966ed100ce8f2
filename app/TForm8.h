// The start-minimised notice: shown once, it minimises the application when
// it closes, by itself after three seconds or earlier by the user.
#pragma once

#include "app/TForm1.h"
#include "platform/widgets.h"

namespace app {

class TForm8 : public platform::Form {
public:
    explicit TForm8(TForm1& main);
    ~TForm8() override { destroy(); }

    platform::Label Label1;
    platform::Label Label2;
    platform::Timer Timer1;

    void FormCreate();
    void Timer1Timer();
    void FormCloseQuery(bool& canClose);

private:
    TForm1& main_;
};

}  // namespace app
