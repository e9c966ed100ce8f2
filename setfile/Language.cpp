#include "setfile/Language.h"
#include "setfile/Captions.h"

namespace setfile {

const char* const kYes = "Yes(&Y)";
const char* const kNo = "No(&N)";

bool Messages::askYesNo(const Bilingual& message) const {
    return boxes.askYesNo(text(message), kYes, kNo) == platform::mr::Yes;
}

void applyCaptions(const LanguageMode& language, std::span<const CaptionText> captions) {
    for (const CaptionText& c : captions) {
        if (c.control) c.control->setCaption(language.choose(c.text, c.control->caption()));
        else c.menu->setCaption(language.choose(c.text, c.menu->caption()));
    }
}

}  // namespace setfile
