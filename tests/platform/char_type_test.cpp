#include "platform/char_type.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace Yomibon {
namespace {

struct Expected {
    char32_t c;
    uint16_t cls;
};

constexpr uint16_t kKanji = C3_IDEOGRAPH | C3_FULLWIDTH | C3_ALPHA;
constexpr uint16_t kFullUpper = C3_FULLWIDTH | C3_ALPHA;
constexpr uint16_t kFullLower = C3_FULLWIDTH | C3_ALPHA | C1_LOWER | C1_ALPHA;
constexpr uint16_t kFullDigit = C3_FULLWIDTH;
constexpr uint16_t kFullPunct = C3_FULLWIDTH | C3_SYMBOL;
constexpr uint16_t kHalfLetter = C3_HALFWIDTH | C3_ALPHA;
constexpr uint16_t kHalfSymbol = C3_HALFWIDTH | C3_SYMBOL;
constexpr uint16_t kHalfLexical = C3_HALFWIDTH | C3_SYMBOL | C3_LEXICAL;

// Classes of characters of every kind a text meets; each row is what cuts runs apart.
constexpr Expected kTable[] = {
    // hiragana, including the iteration marks
    {U'あ', 32},
    {U'ん', 32},
    {U'ぁ', 32},
    {U'ゝ', 32},
    {U'ゞ', 32},
    {U'を', 32},
    // katakana, the prolonged sound mark by substitution, small and voiced forms
    {U'ア', 16},
    {U'ヶ', 16},
    {U'ヴ', 16},
    {U'ー', 16},
    {U'ヽ', 16},
    {U'ァ', 16},
    // half-width katakana take the katakana flag before width
    {U'ｱ', 16},
    {U'ｶ', 16},
    {U'ﾝ', 16},
    // kanji, the repetition mark by substitution, and a supplementary-plane kanji
    {U'漢', kKanji},
    {U'字', kKanji},
    {U'一', kKanji},
    {U'鬱', kKanji},
    {U'々', kKanji},
    {U'\U00020B9F', kKanji},
    {U'\U0002A6B2', kKanji},
    // ASCII digits, letters, marks
    {U'0', 64},
    {U'5', 64},
    {U'9', 64},
    {U'!', 0xF048},
    {U'?', 0xF048},
    {U'A', 32832},
    {U'Z', 32832},
    {U'a', 32832},
    {U'z', 32832},
    {U'-', kHalfLexical},
    {U'=', kHalfLexical},
    {U'(', kHalfSymbol},
    {U'.', kHalfSymbol},
    {U',', kHalfSymbol},
    // Latin-1 and Latin Extended-A
    {U'\u00A1', 72},
    {U'é', 72},
    {U'ü', 72},
    {U'ō', 72},
    {U'\u016B', 72},
    // full-width forms: distinct from kanji and from each other
    {U'０', kFullDigit},
    {U'９', kFullDigit},
    {U'Ａ', kFullUpper},
    {U'Ｚ', kFullUpper},
    {U'ａ', kFullLower},
    {U'ｚ', kFullLower},
    // full-width punctuation
    {U'、', kFullPunct},
    {U'。', kFullPunct},
    {U'「', kFullPunct},
    {U'」', kFullPunct},
    {U'（', kFullPunct},
    {U'！', kFullPunct},
    {U'？', kFullPunct},
    {U'…', kFullPunct},
    {U'―', kFullPunct},
    {U'※', kFullPunct},
};

TEST(CharType, TableAgreesWithTheCharactersOwnPropertiesEverywhere) {
    // Pages of characters that share every property are filled from their first one; each
    // code point must still get what its own properties give.
    size_t differing = 0;
    for (char32_t c = 0; c < 0x110000; ++c) {
        const CharTypes own = ComputeCharTypes(c);
        if (CharType1(c) != own.type1 || CharType3(c) != own.type3 || CharClass(c) != own.cls)
            ++differing;
    }
    EXPECT_EQ(differing, 0u);
    EXPECT_EQ(CharClass(U'\u6F22'), CharClass(U'\u4E00'));
    EXPECT_EQ(CharClass(U'\U0002000B'), CharClass(U'\u4E00'));
}

TEST(CharType, ClassTableCoversEveryKind) {
    for (const auto& row : kTable) {
        char name[16];
        std::snprintf(name, sizeof name, "U+%04X", unsigned(row.c));
        EXPECT_EQ(CharClass(row.c), row.cls) << name;
    }
}

// The Latin-1 signs that Shift_JIS writes as double-byte characters are full width (the
// vertical face draws them so); the rest of Latin-1 stays half width.
TEST(CharType, DoubleByteShiftJisSignsAreFullWidth) {
    for (char32_t c : {U'×', U'÷', U'±', U'°', U'§', U'¶', U'¨', U'´'}) {
        EXPECT_FALSE(IsHalfWidthClass(CharClass(c))) << unsigned(c);
        EXPECT_TRUE(CharClass(c) & C3_FULLWIDTH) << unsigned(c);
    }
    for (char32_t c : {U'é', U'ü', U'\u00A1', U'¿', U'ß'})
        EXPECT_TRUE(IsHalfWidthClass(CharClass(c))) << unsigned(c);
}

TEST(CharType, IdeographicSpaceCarriesSpaceFlag) {
    uint16_t cls = CharClass(U'\u3000');
    EXPECT_TRUE(cls & C1_SPACE);
    EXPECT_TRUE(cls & C3_FULLWIDTH);
    EXPECT_NE(cls, CharClass(U' '));
}

TEST(CharType, HalfWidthClassesAreTheSixNamedOnes) {
    for (char32_t c : {U'0', U'(', U'-', U'A', U'!', U'é'})
        EXPECT_TRUE(IsHalfWidthClass(CharClass(c)));
    for (char32_t c : {U'漢', U'あ', U'ア', U'０', U'Ａ', U'、'})
        EXPECT_FALSE(IsHalfWidthClass(CharClass(c)));
    EXPECT_TRUE(IsHalfWidthClass(0x440));
    EXPECT_TRUE(IsHalfWidthClass(0x448));
}

TEST(CharType, FlagWordsFollowCharacterProperties) {
    EXPECT_EQ(CharType1(U'A') & (C1_UPPER | C1_ALPHA), C1_UPPER | C1_ALPHA);
    EXPECT_TRUE(CharType1(U'7') & C1_DIGIT);
    EXPECT_TRUE(CharType1(U'\t') & C1_SPACE);
    EXPECT_TRUE(CharType3(U'漢') & C3_IDEOGRAPH);
    EXPECT_TRUE(CharType3(U'\U00020B9F') & C3_IDEOGRAPH);
    EXPECT_TRUE(CharType3(U'ｱ') & C3_HALFWIDTH);
    EXPECT_EQ(CharType3(0x10FFFF), 0);
    // Out-of-range values answer like U+FFFD instead of reading past the table.
    EXPECT_EQ(CharClass(0x110000), CharClass(0xFFFD));
}

}  // namespace
}  // namespace Yomibon
