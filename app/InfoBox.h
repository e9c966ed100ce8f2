// The program's three information boxes: one message and one to three
// buttons, created once at start and reused by every call.
#pragma once

#include <string>

#include "platform/widgets.h"

namespace app {

class InfoBox : public platform::Form {
public:
    // Sets the texts, shows the box modally and returns its modal result.
    int ask(const std::string& message, const std::string& button1, const std::string& button2 = "",
            const std::string& button3 = "");

    platform::Label Label1;

protected:
    explicit InfoBox(std::string className);
    ~InfoBox() override { destroy(); }
    platform::Button* buttons_[3] = {nullptr, nullptr, nullptr};
};

// Three buttons: yes, no, cancel.
class TForm10 : public InfoBox {
public:
    TForm10();
    platform::Button Button1, Button2, Button3;
};

// Two buttons: yes, no.
class TForm11 : public InfoBox {
public:
    TForm11();
    platform::Button Button1, Button2;
};

// One button: yes.
class TForm12 : public InfoBox {
public:
    TForm12();
    platform::Button Button1;
};

}  // namespace app
