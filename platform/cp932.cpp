// Implements: platform/encoding.h and platform/cp932.h for every host.
#include "platform/cp932.h"

#include <algorithm>

namespace platform {

namespace cp932 {

namespace {

int leadRow(unsigned char c) {
    if (c >= 0x81 && c <= 0x9F) return c - 0x81;
    if (c >= 0xE0 && c <= 0xFC) return c - 0xE0 + 0x1F;
    return -1;
}

int trailColumn(unsigned char c) {
    if (c >= 0x40 && c <= 0x7E) return c - 0x40;
    if (c >= 0x80 && c <= 0xFC) return c - 0x41;
    return -1;
}

}  // namespace

Char decode(std::string_view cp932, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(cp932[pos]);
    if (table::single[lead] != table::kNone) return {table::single[lead], 1};
    if (pos + 1 < cp932.size()) {
        const int row = leadRow(lead);
        const int column = trailColumn(static_cast<unsigned char>(cp932[pos + 1]));
        if (row >= 0 && column >= 0) {
            const std::uint16_t c = table::doubles[static_cast<std::size_t>(row) * table::kTrails + column];
            if (c != table::kNone) return {c, 2};
        }
    }
    return {0, 0};
}

std::size_t encode(char32_t codePoint, char out[2]) {
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    const std::uint16_t* first = table::encodeFrom;
    const std::uint16_t* last = first + table::encodeCount;
    const std::uint16_t* found = std::lower_bound(first, last, codePoint);
    if (found == last || *found != codePoint) return 0;
    const std::uint16_t code = table::encodeTo[found - first];
    if (code < 0x100) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    out[0] = static_cast<char>(code >> 8);
    out[1] = static_cast<char>(code & 0xFF);
    return 2;
}

}  // namespace cp932

namespace {

void append(std::string& utf8, char32_t c) {
    if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {  // CP932 holds nothing above U+FFFF
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
}

template <class Utf16>
void append(Utf16& utf16, char32_t c) {
    utf16 += static_cast<typename Utf16::value_type>(c);
}

// All of `cp932`, or with `display` "?" for the first byte of what does not
// convert, the rest converted anew; false when something did not convert.
template <class Text>
bool decodeAll(std::string_view cp932, Text& out, bool display) {
    out.reserve(cp932.size());
    for (std::size_t i = 0; i < cp932.size();) {
        const cp932::Char c = cp932::decode(cp932, i);
        if (c.length == 0) {
            if (!display) return false;
            append(out, U'?');
            ++i;
        } else {
            append(out, c.codePoint);
            i += c.length;
        }
    }
    return true;
}

template <class Text>
Text decodeForDisplay(std::string_view cp932) {
    Text out;
    decodeAll(cp932, out, true);
    return out;
}

template <class Text>
std::optional<Text> decodeExactly(std::string_view cp932) {
    Text out;
    if (!decodeAll(cp932, out, false)) return std::nullopt;
    return out;
}

// Only a character that comes back as itself is the same text in CP932:
// the one-way mappings (the yen sign as "\") are refused.
bool appendExactly(std::string& cp932, char32_t c) {
    char bytes[2];
    const std::size_t n = cp932::encode(c, bytes);
    if (n == 0) return false;
    const std::string_view code(bytes, n);
    const cp932::Char back = cp932::decode(code, 0);
    if (back.length != n || back.codePoint != c) return false;
    cp932 += code;
    return true;
}

// The next character of well-formed UTF-8: shortest form, no surrogates,
// nothing above U+10FFFF. Anything else is refused, so that what is accepted
// is the one spelling that comes back.
std::optional<char32_t> nextUtf8(std::string_view s, std::size_t& pos) {
    const auto first = static_cast<unsigned char>(s[pos++]);
    if (first < 0x80) return first;
    std::size_t more;
    char32_t c;
    char32_t least;
    if (first >= 0xC2 && first <= 0xDF) {
        more = 1, c = first & 0x1F, least = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        more = 2, c = first & 0x0F, least = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        more = 3, c = first & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    for (; more > 0; --more, ++pos) {
        if (pos >= s.size()) return std::nullopt;
        const auto next = static_cast<unsigned char>(s[pos]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    return c;
}

// A surrogate, paired or not, is refused with the rest: CP932 holds nothing
// above U+FFFF.
template <class Char16>
std::optional<std::string> encodeUtf16(std::basic_string_view<Char16> utf16) {
    std::string out;
    out.reserve(utf16.size() * 2);
    for (Char16 c : utf16) {
        if (!appendExactly(out, static_cast<char32_t>(c))) return std::nullopt;
    }
    return out;
}

}  // namespace

std::string toUtf8Display(const std::string& cp932) { return decodeForDisplay<std::string>(cp932); }

std::optional<std::string> toUtf8(const std::string& cp932) { return decodeExactly<std::string>(cp932); }

std::optional<std::string> fromUtf8(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<char32_t> c = nextUtf8(utf8, i);
        if (!c || !appendExactly(out, *c)) return std::nullopt;
    }
    return out;
}

std::u16string toUtf16Display(std::string_view cp932) { return decodeForDisplay<std::u16string>(cp932); }

std::optional<std::u16string> toUtf16(std::string_view cp932) { return decodeExactly<std::u16string>(cp932); }

std::optional<std::string> fromUtf16(std::u16string_view utf16) { return encodeUtf16(utf16); }

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring toWideDisplay(std::string_view cp932) { return decodeForDisplay<std::wstring>(cp932); }

std::optional<std::wstring> toWide(std::string_view cp932) { return decodeExactly<std::wstring>(cp932); }

std::optional<std::string> fromWide(std::wstring_view wide) { return encodeUtf16(wide); }
#endif

}  // namespace platform
