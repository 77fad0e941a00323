// The running head: repeated title lines left out, a long head ended at a boundary with "…".
#include <gtest/gtest.h>

#include "layout/running_head.h"
#include "platform/char_type.h"
#include "platform/utf16.h"

namespace Yomibon::Test {
namespace {

// Two units for a full-width character, one for a half-width one.
int32_t Cells(char32_t c) {
    return IsHalfWidthClass(CharClass(c)) ? 1 : 2;
}

std::string Fit(std::u16string_view text, int32_t room) {
    return ToUtf8(FitRunningHead(text, Cells, room));
}

TEST(RunningHead, RepeatedTitleLinesAreLeftOut) {
    EXPECT_EQ(ToUtf8(RunningHeadLines(u"日本その日その日\r\n日本その日その日\r\nJAPAN DAY BY DAY")),
              "日本その日その日　JAPAN DAY BY DAY");
    EXPECT_EQ(ToUtf8(RunningHeadLines(u"日本その日その日\n日本その日その日　JAPAN DAY BY DAY")),
              "日本その日その日　JAPAN DAY BY DAY");
    // A line that only begins like an earlier word is its own.
    EXPECT_EQ(ToUtf8(RunningHeadLines(u"日本\n日本人")), "日本　日本人");
    EXPECT_EQ(ToUtf8(RunningHeadLines(u"羅生門")), "羅生門");
    EXPECT_EQ(ToUtf8(RunningHeadLines(u"\n上\r\n\r\n下\n上 ")), "上　下");
}

TEST(RunningHead, FitsWholeWhenThereIsRoom) {
    EXPECT_EQ(Fit(u"羅生門", 6), "羅生門");
    EXPECT_EQ(Fit(u"", 0), "");
}

TEST(RunningHead, LongHeadEndsAtAWordBoundaryWithAnEllipsis) {
    // 16 + 2 + 16 units, and 2 for the ellipsis: the cut falls between words.
    std::u16string head = u"日本その日その日　JAPAN DAY BY DAY";
    EXPECT_EQ(Fit(head, 34), "日本その日その日　JAPAN DAY BY DAY");
    EXPECT_EQ(Fit(head, 33), "日本その日その日　JAPAN DAY BY…");
    EXPECT_EQ(Fit(head, 30), "日本その日その日　JAPAN DAY…");
    // Too narrow for any Latin word: the Japanese title alone.
    EXPECT_EQ(Fit(head, 21), "日本その日その日…");
}

TEST(RunningHead, JapaneseHeadEndsAfterAPhrase) {
    // After the comma rather than inside the next word.
    EXPECT_EQ(Fit(u"第一部　最終戦争論、その後の世界", 24), "第一部　最終戦争論、…");
    // Without punctuation: where kana turn into kanji.
    EXPECT_EQ(Fit(u"吾輩は猫である名前はまだ無い", 16), "吾輩は猫である…");
}

}  // namespace
}  // namespace Yomibon::Test
