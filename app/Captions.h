// Applying a window's texts by the language mode, one control a line.
#pragma once

#include <initializer_list>

#include "app/Language.h"
#include "platform/widgets.h"

namespace app {

struct CaptionText {
    platform::Control& control;
    Bilingual text;
};

inline void applyCaptions(const LanguageMode& language, std::initializer_list<CaptionText> captions) {
    for (const CaptionText& c : captions) c.control.setCaption(language.choose(c.text, c.control.caption()));
}

}  // namespace app
