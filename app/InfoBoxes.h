// The program's three information boxes: one message and one to three
// buttons, created once at start and reused by every call.
#pragma once

#include <string>

#include "platform/widgets.h"
#include "setfile/Language.h"

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
class YesNoCancelBox : public InfoBox {
public:
    YesNoCancelBox();
    // Destroyed while its buttons still exist (see Form::destroy).
    ~YesNoCancelBox() override { destroy(); }
    platform::Button Button1, Button2, Button3;
};

// Two buttons: yes, no.
class YesNoBox : public InfoBox {
public:
    YesNoBox();
    ~YesNoBox() override { destroy(); }
    platform::Button Button1, Button2;
};

// One button: yes.
class OkBox : public InfoBox {
public:
    OkBox();
    ~OkBox() override { destroy(); }
    platform::Button Button1;
};

// The three boxes, alive for the whole run.
class InformationBoxes : public setfile::InfoBoxes {
public:
    int askYesNoCancel(const std::string& message, const std::string& yes, const std::string& no,
                       const std::string& cancel) override {
        return yesNoCancel_.ask(message, yes, no, cancel);
    }
    int askYesNo(const std::string& message, const std::string& yes, const std::string& no) override {
        return yesNo_.ask(message, yes, no);
    }
    int tell(const std::string& message, const std::string& button) override { return ok_.ask(message, button); }

private:
    YesNoCancelBox yesNoCancel_;
    YesNoBox yesNo_;
    OkBox ok_;
};

}  // namespace app
