// Implements: the forms' fonts (Fonts.h). The first face that exists wins:
// the Windows Japanese GUI font, then the free Japanese Gothic faces that a
// Wine system offers; failing all, whatever face Shift-JIS text gets.
#include "platform/win32ui/Fonts.h"

#include <cwchar>
#include <map>
#include <utility>

#include "platform/win32ui/Dpi.h"

namespace platform::win32ui {

namespace {

// By "System" height and DPI.
std::map<std::pair<int, int>, HFONT>& fonts() {
    static std::map<std::pair<int, int>, HFONT> cache;
    return cache;
}

// Pixel height of the characters for a "System" height: the defined labels
// and buttons hold their texts at these sizes.
int characterHeight(int systemHeight) { return systemHeight >= 19 ? 14 : 12; }

HFONT create(int pixels, const wchar_t* face) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

bool hasFace(HFONT font, const wchar_t* face) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t got[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, got);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return std::wcscmp(got, face) == 0;
}

}  // namespace

HFONT guiFont(int systemHeight, int dpi) {
    HFONT& font = fonts()[{systemHeight, dpi}];
    if (font) return font;
    int pixels = scaled(characterHeight(systemHeight), dpi);
    for (const wchar_t* face : {L"MS UI Gothic", L"VL PGothic", L"IPAPGothic"}) {
        HFONT candidate = create(pixels, face);
        if (candidate && hasFace(candidate, face)) return font = candidate;
        if (candidate) DeleteObject(candidate);
    }
    return font = create(pixels, L"");
}

void releaseFonts() {
    for (auto& [key, font] : fonts()) {
        if (font) DeleteObject(font);
    }
    fonts().clear();
}

}  // namespace platform::win32ui
