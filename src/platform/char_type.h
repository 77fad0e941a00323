// Character-type flag words and the character class that cuts plain text into runs.
#pragma once

#include <cstdint>

namespace Yomibon {

// CT_CTYPE1 flags.
enum : uint16_t {
    C1_UPPER = 0x1,
    C1_LOWER = 0x2,
    C1_DIGIT = 0x4,
    C1_SPACE = 0x8,
    C1_PUNCT = 0x10,
    C1_CNTRL = 0x20,
    C1_BLANK = 0x40,
    C1_XDIGIT = 0x80,
    C1_ALPHA = 0x100,
};

// CT_CTYPE3 flags.
enum : uint16_t {
    C3_NONSPACING = 0x1,
    C3_DIACRITIC = 0x2,
    C3_SYMBOL = 0x8,
    C3_KATAKANA = 0x10,
    C3_HIRAGANA = 0x20,
    C3_HALFWIDTH = 0x40,
    C3_FULLWIDTH = 0x80,
    C3_IDEOGRAPH = 0x100,
    C3_LEXICAL = 0x400,
    C3_ALPHA = 0x8000,
};

// Classes with a name of their own.
enum : uint16_t {
    CLASS_HIRAGANA = 32,
    CLASS_KATAKANA = 16,
    CLASS_LATIN1 = 72,
    CLASS_EXCLAMATION = 0xF048,
};

// Flag words of one code point (constant time; tables built once).
uint16_t CharType1(char32_t c);
uint16_t CharType3(char32_t c);

// The 16-bit character class (the classification steps 1-7).
uint16_t CharClass(char32_t c);

// The three values above computed afresh from the character's properties, bypassing the
// table the functions above keep (whose pages may be filled from their first character).
struct CharTypes {
    uint16_t type1 = 0;
    uint16_t type3 = 0;
    uint16_t cls = 0;
    bool operator==(const CharTypes&) const = default;
};
CharTypes ComputeCharTypes(char32_t c);

// The precomposed kana of a kana and a voiced or semi-voiced sound mark (゛ ゜ or their
// combining forms), or 0 when there is none.
char32_t ComposeSoundMark(char32_t base, char32_t mark);

// True for the half-width classes 0x40, 0x48, 0x440, 0x448, 0x8040, 0xF048.
bool IsHalfWidthClass(uint16_t cls);

}  // namespace Yomibon
