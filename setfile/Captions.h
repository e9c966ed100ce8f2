// Applying a window's texts by the language mode, one control a line.
#pragma once

#include <initializer_list>
#include <span>

#include "platform/widgets.h"
#include "setfile/Language.h"

namespace setfile {

// A control's or a menu command's caption in both languages.
struct CaptionText {
    CaptionText(platform::Control& c, Bilingual t) : control(&c), text(std::move(t)) {}
    CaptionText(platform::MenuItem& m, Bilingual t) : menu(&m), text(std::move(t)) {}
    platform::Control* control = nullptr;
    platform::MenuItem* menu = nullptr;
    Bilingual text;
};

// Each caption by the choosing rule: unchanged when neither flag is set.
void applyCaptions(const LanguageMode& language, std::span<const CaptionText> captions);
inline void applyCaptions(const LanguageMode& language, std::initializer_list<CaptionText> captions) {
    applyCaptions(language, std::span<const CaptionText>(captions.begin(), captions.size()));
}

}  // namespace setfile
