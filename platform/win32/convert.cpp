// CP932 <-> UTF-8 on Windows.
// Implements: platform/encoding.h with code page 932 (the ANSI code page
// the program's texts are in) and UTF-8 through UTF-16.
#include "platform/encoding.h"

#include "platform/text.h"
#include "platform/win32/win32.h"

namespace platform {

namespace {

constexpr UINT kCp932 = 932;

// MB_ERR_INVALID_CHARS refuses bytes that are no character of the code
// page, instead of turning them into the default character.
std::optional<std::wstring> toWide(UINT codePage, const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), n) != n)
        return std::nullopt;
    return wide;
}

// No best fit ("é" is not "e") and no default character: what the code page
// cannot hold is refused.
std::optional<std::string> fromWide(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = utf8 ? nullptr : &usedDefault;  // UTF-8 takes no default character
    const int size = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, used);
    if (n <= 0 || usedDefault) return std::nullopt;
    std::string text(static_cast<std::size_t>(n), '\0');
    if (WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), n, nullptr, used) != n || usedDefault)
        return std::nullopt;
    return text;
}

}  // namespace

std::optional<std::string> toUtf8(const std::string& cp932) {
    std::optional<std::wstring> wide = toWide(kCp932, cp932);
    if (!wide) return std::nullopt;
    return fromWide(CP_UTF8, *wide);
}

std::string toUtf8Display(const std::string& cp932) {
    if (std::optional<std::string> whole = toUtf8(cp932)) return *whole;
    // "?" for the first byte of what does not convert, the rest anew.
    std::string out;
    for (std::size_t i = 0; i < cp932.size();) {
        std::size_t len = charLength(cp932, i);
        if (std::optional<std::string> piece = toUtf8(cp932.substr(i, len))) {
            out += *piece;
            i += len;
        } else {
            out += '?';
            ++i;
        }
    }
    return out;
}

std::optional<std::string> fromUtf8(const std::string& utf8) {
    std::optional<std::wstring> wide = toWide(CP_UTF8, utf8);
    if (!wide) return std::nullopt;
    std::optional<std::string> cp932 = fromWide(kCp932, *wide);
    // Exact or refused: the CP932 text must give back the same characters.
    if (!cp932 || toWide(kCp932, *cp932) != wide) return std::nullopt;
    return cp932;
}

}  // namespace platform
