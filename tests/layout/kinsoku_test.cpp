#include "layout/kinsoku.h"

#include <gtest/gtest.h>

#include "settings/txt_param.h"

namespace Yomibon {
namespace {

TEST(Kinsoku, DefaultListsOfTheSettings) {
    CYbTxtParam param;
    CYbKinsoku k(param);
    for (char32_t c : {U'。', U'、', U'」', U'ッ', U'ょ', U'！', U'?', U'・'})
        EXPECT_TRUE(k.isStart(c)) << unsigned(c);
    for (char32_t c : {U'あ', U'漢', U'「', U'（'})
        EXPECT_FALSE(k.isStart(c)) << unsigned(c);
    for (char32_t c : {U'「', U'『', U'（', U'［', U'('})
        EXPECT_TRUE(k.isEnd(c)) << unsigned(c);
    EXPECT_FALSE(k.isEnd(U'」'));
    EXPECT_TRUE(k.isSkip(U' '));
    EXPECT_TRUE(k.isSkip(U'　'));
    EXPECT_FALSE(k.isSkip(U'あ'));
    EXPECT_TRUE(k.isSepNG(U'…'));
    EXPECT_TRUE(k.isSepNG(U'‥'));
    EXPECT_FALSE(k.isSepNG(U'。'));
}

TEST(Kinsoku, StrictModeAddsTheJlreqClassesAndKeepsTheHangingList) {
    CYbTxtParam param;
    EXPECT_EQ(CYbKinsoku::ModeOf(param), CYbKinsoku::kStandard);
    CYbKinsoku standard(param);
    EXPECT_FALSE(standard.strict());
    for (char32_t c : {U'ー', U'ぁ', U'々', U'ゝ', U'〜', U'…'})
        EXPECT_FALSE(standard.isStart(c)) << unsigned(c);
    const int32_t strictMode = 1;
    ASSERT_TRUE(param.SetPoints(u"KinsokuMode", &strictMode, 1));
    EXPECT_EQ(CYbKinsoku::ModeOf(param), CYbKinsoku::kStrict);
    CYbKinsoku strict(param);
    EXPECT_TRUE(strict.strict());
    // cl-02 … cl-11 may not begin a column, cl-01 may not end one.
    for (char32_t c : {U'ー', U'ぁ', U'ヶ', U'々', U'ゝ', U'ヾ', U'〜', U'‐', U'…', U'‥', U'；',
                       U'〕', U'〟', U'」', U'。'})
        EXPECT_TRUE(strict.isStart(c)) << unsigned(c);
    for (char32_t c : {U'〝', U'〘', U'「', U'（'})
        EXPECT_TRUE(strict.isEnd(c)) << unsigned(c);
    for (char32_t c : {U'あ', U'漢', U'ア'})
        EXPECT_FALSE(strict.isStart(c) || strict.isEnd(c)) << unsigned(c);
    // Only the hanging list hangs.
    for (char32_t c : {U'、', U'。', U'，', U'．'})
        EXPECT_TRUE(strict.isHanging(c)) << unsigned(c);
    for (char32_t c : {U'」', U'っ', U'ー'})
        EXPECT_FALSE(strict.isHanging(c)) << unsigned(c);
}

TEST(Kinsoku, OccupancyCodesFromTheClassMap) {
    CYbTxtParam param;
    CYbKinsoku k(param);
    EXPECT_EQ(k.code(U'「'), 7);
    EXPECT_EQ(k.code(U'」'), 14);
    EXPECT_EQ(k.code(U'。'), 14);
    EXPECT_EQ(k.code(U'・'), 6);
    EXPECT_EQ(k.code(U'⦅'), 7);
    EXPECT_EQ(k.code(U'あ'), 0);
    // Asked twice, answered the same from the table.
    EXPECT_EQ(k.code(U'」'), 14);
    EXPECT_EQ(CYbKinsoku::SetBits(7), 3);
    EXPECT_EQ(CYbKinsoku::SetBits(14), 3);
    EXPECT_EQ(CYbKinsoku::SetBits(6), 2);
    EXPECT_EQ(CYbKinsoku::Shift(7), 1);
    EXPECT_EQ(CYbKinsoku::Shift(14), 0);
    EXPECT_EQ(CYbKinsoku::Shift(6), 1);
    k.setCode(U'あ', 9);
    EXPECT_EQ(k.code(U'あ'), 9);
}

TEST(Kinsoku, EditedListsAndCharactersBeyondTheBasicPlane) {
    CYbTxtParam param;
    // A surrogate pair is one entry.
    param.SetList(u"ConfListStart", u"𠀋x");
    param.SetList(u"ConfListSkip", u"");
    CYbKinsoku k(param);
    EXPECT_TRUE(k.isStart(U'𠀋'));
    EXPECT_TRUE(k.isStart(U'x'));
    EXPECT_FALSE(k.isStart(U'。'));
    EXPECT_FALSE(k.isStart(U'𠀌'));
    EXPECT_EQ(k.code(U'𠀋'), 0);
    k.setCode(U'𠀋', 14);
    EXPECT_EQ(k.code(U'𠀋'), 14);
    CYbKinsoku empty;
    EXPECT_FALSE(empty.isStart(U'。'));
    EXPECT_EQ(empty.code(U'」'), 0);
}

}  // namespace
}  // namespace Yomibon
