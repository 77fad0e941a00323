// UTF-16 helpers: a surrogate pair is one character wherever characters are counted.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Yomibon {

inline bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
inline bool IsLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Number of units of the character starting at unit offset i (1 or 2).
inline size_t UnitsAt(std::u16string_view s, size_t i) {
    return (i + 1 < s.size() && IsHighSurrogate(s[i]) && IsLowSurrogate(s[i + 1])) ? 2 : 1;
}

// The code point at unit offset i.
inline char32_t CodePointAt(std::u16string_view s, size_t i) {
    if (UnitsAt(s, i) == 2)
        return 0x10000 + ((char32_t(s[i]) - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00);
    return s[i];
}

// Number of characters of a string.
size_t CharCount(std::u16string_view s);

// Unit offset of character index n (the string's size when n is past the end).
size_t CharOffset(std::u16string_view s, size_t n);

// Appends one code point.
void AppendCodePoint(std::u16string& out, char32_t c);

std::string ToUtf8(std::u16string_view s);
std::u16string FromUtf8(std::string_view s);

}  // namespace Yomibon
