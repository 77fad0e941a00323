#include "platform/char_type.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <array>
#include <atomic>
#include <memory>

namespace Yomibon {
namespace {

// Characters that the system's tables mark lexical (word-forming punctuation).
bool IsLexical(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;  // full-width ASCII forms
    switch (c) {
        case U'\'':
        case U'-':
        case U'=':
        case U'_':
        case U'`':
        case U'^':
        case U'~':
            return true;
        default:
            return false;
    }
}

bool IsPunctOrSymbol(int8_t gc) {
    switch (gc) {
        case U_DASH_PUNCTUATION:
        case U_START_PUNCTUATION:
        case U_END_PUNCTUATION:
        case U_CONNECTOR_PUNCTUATION:
        case U_OTHER_PUNCTUATION:
        case U_INITIAL_PUNCTUATION:
        case U_FINAL_PUNCTUATION:
        case U_MATH_SYMBOL:
        case U_CURRENCY_SYMBOL:
        case U_MODIFIER_SYMBOL:
        case U_OTHER_SYMBOL:
            return true;
        default:
            return false;
    }
}

// Derives CT_CTYPE3 from ICU properties: script for kana, the Ideographic property,
// East Asian Width for half/full width (ambiguous counts as full width, as a Japanese
// system sets it), general category for symbols and marks.
uint16_t ComputeType3(char32_t c) {
    UChar32 u = static_cast<UChar32>(c);
    int8_t gc = u_charType(u);
    if (gc == U_UNASSIGNED || gc == U_SURROGATE) return 0;
    uint16_t f = 0;
    if (gc == U_NON_SPACING_MARK) f |= C3_NONSPACING;
    if (gc == U_MODIFIER_SYMBOL) f |= C3_DIACRITIC;
    if (IsPunctOrSymbol(gc) || gc == U_SPACE_SEPARATOR) f |= C3_SYMBOL;
    UErrorCode err = U_ZERO_ERROR;
    UScriptCode script = uscript_getScript(u, &err);
    if (script == USCRIPT_KATAKANA) f |= C3_KATAKANA;
    if (script == USCRIPT_HIRAGANA) f |= C3_HIRAGANA;
    switch (u_getIntPropertyValue(u, UCHAR_EAST_ASIAN_WIDTH)) {
        case U_EA_FULLWIDTH:
        case U_EA_WIDE:
        case U_EA_AMBIGUOUS:
            f |= C3_FULLWIDTH;
            break;
        default:
            if (gc != U_CONTROL_CHAR && gc != U_FORMAT_CHAR) f |= C3_HALFWIDTH;
            break;
    }
    if (u_hasBinaryProperty(u, UCHAR_IDEOGRAPHIC)) f |= C3_IDEOGRAPH;
    if (IsLexical(c)) f |= C3_LEXICAL;
    if (u_hasBinaryProperty(u, UCHAR_ALPHABETIC)) f |= C3_ALPHA;
    return f;
}

uint16_t ComputeType1(char32_t c) {
    UChar32 u = static_cast<UChar32>(c);
    int8_t gc = u_charType(u);
    uint16_t f = 0;
    if (gc == U_UPPERCASE_LETTER) f |= C1_UPPER;
    if (gc == U_LOWERCASE_LETTER) f |= C1_LOWER;
    if (gc == U_DECIMAL_DIGIT_NUMBER) f |= C1_DIGIT;
    if (u_isUWhiteSpace(u)) f |= C1_SPACE;
    if (IsPunctOrSymbol(gc)) f |= C1_PUNCT;
    if (gc == U_CONTROL_CHAR) f |= C1_CNTRL;
    if (u_isblank(u)) f |= C1_BLANK;
    if (u_isxdigit(u)) f |= C1_XDIGIT;
    if (u_hasBinaryProperty(u, UCHAR_ALPHABETIC)) f |= C1_ALPHA;
    return f;
}

// The Latin-1 signs that Shift_JIS codes as double-byte characters (JIS X 0208 row 1:
// § ¨ ° ± ´ ¶ × ÷). A Japanese text sets them full width, as the vertical face draws them.
bool IsJisDoubleByteSign(char32_t c) {
    switch (c) {
        case 0xA7:
        case 0xA8:
        case 0xB0:
        case 0xB1:
        case 0xB4:
        case 0xB6:
        case 0xD7:
        case 0xF7:
            return true;
        default:
            return false;
    }
}

uint16_t ComputeClass(char32_t c) {
    if (c == 0x3005) c = 0x6F22;  // 々 classifies like a kanji
    if (c == 0x30FC) c = 0x30A2;  // ー classifies like katakana
    if (c >= 0xA1 && c <= 0x16B && !IsJisDoubleByteSign(c)) return CLASS_LATIN1;
    uint16_t t3 = ComputeType3(c);
    if (t3 == (C3_HALFWIDTH | C3_SYMBOL) && (c == U'!' || c == U'?')) return CLASS_EXCLAMATION;
    if (t3 & C3_HIRAGANA) return CLASS_HIRAGANA;
    if (t3 & C3_KATAKANA) return CLASS_KATAKANA;
    if (!(t3 & C3_FULLWIDTH)) return t3;
    uint16_t t1 = ComputeType1(c);
    if (t1 & (C1_LOWER | C1_SPACE)) return t1 | t3;
    return t3;
}

// True when every code point of the page [base, base + 255] is a unified ideograph: they
// share every property the three values are made of (letter, Han, wide, ideographic), so the
// first stands for all. The ideograph pages are most of what a Japanese text meets, and one
// property asked of each code point costs a fraction of computing its values.
bool IdeographPage(char32_t base) {
    for (char32_t c = base; c < base + 256; ++c)
        if (!u_hasBinaryProperty(UChar32(c), UCHAR_UNIFIED_IDEOGRAPH)) return false;
    return true;
}

// Three values per code point, computed per page of 256 code points on first use, so
// that start-up does not pay for the supplementary planes it never meets.
using Entry = CharTypes;
using Page = std::array<Entry, 256>;
constexpr size_t kPageCount = 0x110000 / 256;

class Table {
  public:
    const Entry& at(char32_t c) {
        if (c >= 0x110000) c = 0xFFFD;
        std::atomic<Page*>& slot = pages_[c >> 8];
        Page* page = slot.load(std::memory_order_acquire);
        if (!page) page = build(slot, c & ~char32_t(0xFF));
        return (*page)[c & 0xFF];
    }
    ~Table() {
        for (auto& p : pages_)
            delete p.load();
    }

  private:
    static Page* build(std::atomic<Page*>& slot, char32_t base) {
        auto page = std::make_unique<Page>();
        if (IdeographPage(base)) {
            page->fill(ComputeCharTypes(base));
        } else {
            for (char32_t i = 0; i < 256; ++i)
                (*page)[i] = ComputeCharTypes(base + i);
        }
        Page* expected = nullptr;
        if (slot.compare_exchange_strong(expected, page.get())) return page.release();
        return expected;  // another thread built it first
    }
    std::array<std::atomic<Page*>, kPageCount> pages_{};
};

Table& TheTable() {
    static Table table;
    return table;
}

}  // namespace

CharTypes ComputeCharTypes(char32_t c) {
    return {ComputeType1(c), ComputeType3(c), ComputeClass(c)};
}

uint16_t CharType1(char32_t c) {
    return TheTable().at(c).type1;
}
uint16_t CharType3(char32_t c) {
    return TheTable().at(c).type3;
}
uint16_t CharClass(char32_t c) {
    return TheTable().at(c).cls;
}

bool IsHalfWidthClass(uint16_t cls) {
    switch (cls) {
        case 0x40:
        case 0x48:
        case 0x440:
        case 0x448:
        case 0x8040:
        case 0xF048:
            return true;
        default:
            return false;
    }
}

char32_t ComposeSoundMark(char32_t base, char32_t mark) {
    if (mark == U'゛') mark = 0x3099;
    if (mark == U'゜') mark = 0x309A;
    if (mark != 0x3099 && mark != 0x309A) return 0;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status) || !nfc) return 0;
    UChar32 composed = nfc->composePair(UChar32(base), UChar32(mark));
    return composed < 0 ? 0 : char32_t(composed);
}

}  // namespace Yomibon
