// The language mode and how a text is chosen by it.
#pragma once

#include <string>

namespace app {

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

}  // namespace app
