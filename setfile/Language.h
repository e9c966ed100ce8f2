// The language mode, texts in both languages, and the information boxes
// every window speaks through.
#pragma once

#include <string>

namespace setfile {

// A text that exists in both languages.
struct Bilingual {
    std::string ja;
    std::string en;
};

// Two independent flags. The Japanese text is taken when its flag is 1, then
// the English one when its flag is 1: English wins when both are set, and
// nothing is taken when neither is.
struct LanguageMode {
    int japanese = 1;
    int english = 0;

    // What a caption showing `current` shows afterwards.
    std::string choose(const Bilingual& text, std::string current) const {
        if (japanese == 1) current = text.ja;
        if (english == 1) current = text.en;
        return current;
    }
    // A message: empty when neither flag is set.
    std::string message(const Bilingual& text) const { return choose(text, ""); }
};

// "Yes(&Y)" and "No(&N)", the button texts in both languages.
extern const char* const kYes;
extern const char* const kNo;

// The program's three information boxes; each returns its modal result
// (6, 7, 2 for its buttons, 2 when closed).
class InfoBoxes {
public:
    virtual ~InfoBoxes() = default;
    virtual int askYesNoCancel(const std::string& message, const std::string& yes, const std::string& no,
                               const std::string& cancel) = 0;
    virtual int askYesNo(const std::string& message, const std::string& yes, const std::string& no) = 0;
    virtual int tell(const std::string& message, const std::string& button) = 0;
};

// The boxes with texts chosen by a language mode, as the windows use them.
struct Messages {
    LanguageMode language;
    InfoBoxes& boxes;

    std::string text(const Bilingual& message) const { return language.message(message); }
    // The one-button box with "Yes(&Y)".
    void tell(const Bilingual& message) const { boxes.tell(text(message), kYes); }
    // The two-button box; true only for its Yes button.
    bool askYesNo(const Bilingual& message) const;
};

}  // namespace setfile
