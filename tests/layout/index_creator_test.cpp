#include "layout/index_creator.h"

#include <gtest/gtest.h>

#include "arrange_test_support.h"
#include "layout/bunko_txt_layout.h"
#include "platform/utf16.h"

namespace Yomibon::Test {
namespace {

std::string U8(const std::u16string& s) {
    return ToUtf8(s);
}

// A text whose first line is blank has no title page: the body starts on the first page,
// the blank line in column 0 and the first body line (line 2) in column 1.
void Body(Arranged& a, std::u16string_view body, std::vector<LayoutBox> boxes) {
    ParseAndArrange(a, u"\r\n" + std::u16string(body), std::move(boxes));
}

std::vector<std::string> Columns(const Arranged& a, int line) {
    std::vector<std::string> out;
    for (const auto& c : a.columns(line))
        out.push_back(U8(c));
    return out;
}

using Strings = std::vector<std::string>;

TEST(IndexCreator, FullStopHangsInTheHalfCell) {
    Arranged a;
    Body(a, u"あいうえおかきくけこ。さしす", Boxes(4, 10));
    EXPECT_EQ(Columns(a, 2), (Strings{"あいうえおかきくけこ⟨。⟩", "さしす"}));
    const LineInfo& line = a.line(2);
    EXPECT_EQ(line.iStartCol, 1);
    EXPECT_EQ(line.iNextCol, 3);
    ASSERT_EQ(line.turns.size(), 2u);
    EXPECT_EQ(line.turns[0].iCount, 11);
    EXPECT_EQ(line.turns[1].iIndex, 2);
    EXPECT_EQ(line.turns[1].iPos, 0);
    EXPECT_EQ(line.turns[1].iCount, -3);
    EXPECT_EQ(line.turns[1].iLength, 12);
    EXPECT_EQ(line.turns[1].iColumn, 2);
    // The over-full column has its marks narrowed: the full stop takes three quarters.
    EXPECT_EQ(line.turns[0].iLength, 43);
    EXPECT_EQ(a.buffer.narrowMarks().at(TextPoint{2, 1, 0}), 14);
}

TEST(IndexCreator, FullStopTakesItsPredecessorAlongWhenNothingMayHang) {
    Arranged a;
    Body(a, u"あいうえおかきくけこ。さしす", Boxes(4, 10, 2, true));
    EXPECT_EQ(Columns(a, 2), (Strings{"あいうえおかきくけ", "こ。さしす"}));
    EXPECT_EQ(a.line(2).turns[1].iIndex, 0);
    EXPECT_EQ(a.line(2).turns[1].iPos, 9);
}

TEST(IndexCreator, LeaderPairsAreNeverSplit) {
    Arranged a;
    Body(a, u"あいうえおかきくけ……こさ", Boxes(4, 10));
    EXPECT_EQ(Columns(a, 2), (Strings{"あいうえおかきくけ…⟨…⟩", "こさ"}));
    Arranged b;
    Body(b, u"あいうえおかきくけ……こさ", Boxes(4, 10, 2, true));
    EXPECT_EQ(Columns(b, 2), (Strings{"あいうえおかきくけ", "……こさ"}));
    // Two different leaders are ordinary neighbours.
    Arranged c;
    Body(c, u"あいうえおかきくけ…‥こさ", Boxes(4, 10));
    EXPECT_EQ(Columns(c, 2), (Strings{"あいうえおかきくけ…", "‥こさ"}));
}

TEST(IndexCreator,
     ClosingBracketAndFullStopHangButFourExclamationsTakeTheCharacterBeforeThemAlong) {
    Arranged a;
    Body(a, u"「あいうえおかきくけ」。こさ", Boxes(4, 10));
    // Narrowed, the closing bracket still fits; only the full stop hangs.
    EXPECT_EQ(Columns(a, 2), (Strings{"「あいうえおかきくけ」⟨。⟩", "こさ"}));
    Arranged b;
    Body(b, u"あいうえおかきくけこ」。さし", Boxes(4, 10));
    EXPECT_EQ(Columns(b, 2), (Strings{"あいうえおかきくけこ⟨」⟩⟨。⟩", "さし"}));
    Arranged c;
    Body(c, u"あいうえおかきくけこ！！！！さし", Boxes(4, 10));
    // Four marks do not hang; they may not begin a column either, so こ goes with them.
    EXPECT_EQ(Columns(c, 2), (Strings{"あいうえおかきくけ", "こ！！！！さし"}));
    Arranged d;
    Body(d, u"あいうえおかきくけこ！！！さし", Boxes(4, 10));
    EXPECT_EQ(Columns(d, 2), (Strings{"あいうえおかきくけこ⟨！⟩⟨！⟩⟨！⟩", "さし"}));
}

}  // namespace
}  // namespace Yomibon::Test

namespace Yomibon::Test {
namespace {

TEST(IndexCreator, ShortHalfWidthDigitRunsTakeOneCell) {
    Arranged a;
    Body(a, u"あ123い\r\nあ1234い\r\nあ!?い", Boxes(4, 10));
    EXPECT_EQ(a.line(2).runs[1].textType, TT_AUTO_HORIZONTAL);
    EXPECT_EQ(a.line(2).turns[0].iLength, 12);
    EXPECT_EQ(a.line(2).turns[0].iCount, -3);
    EXPECT_EQ(a.line(3).runs[1].textType, TT_TEXT);
    EXPECT_EQ(a.line(3).turns[0].iLength, 16);
    EXPECT_EQ(a.line(4).runs[1].textType, TT_AUTO_HORIZONTAL);
    EXPECT_EQ(a.line(4).turns[0].iLength, 12);
    // With TateNakaNum 4 four digits share one cell too; an earlier arrangement's type is
    // set back first.
    int32_t four = 4;
    a.param.SetPoints(u"TateNakaNum", &four, 1);
    Arrange(a);
    EXPECT_EQ(a.line(3).runs[1].textType, TT_AUTO_HORIZONTAL);
    EXPECT_EQ(a.line(3).turns[0].iLength, 12);
}

TEST(IndexCreator, DigitCellThatDoesNotFitStartsTheNextColumn) {
    Arranged a;
    Body(a, u"あいうえおかきくけこ12さ\r\nあいうえおかきくけ（12）", Boxes(4, 10));
    EXPECT_EQ(Columns(a, 2), (Strings{"あいうえおかきくけこ", "12さ"}));
    // The opening bracket may not end a column: it goes along with the digits.
    EXPECT_EQ(Columns(a, 3), (Strings{"あいうえおかきくけ", "（12）"}));
}

TEST(IndexCreator, SpaceAtTheColumnEndIsDropped) {
    Arranged a;
    Body(a, u"あいうえおかきくけこ　さし\r\nあいうえおかきくけ　こさ", Boxes(4, 10));
    EXPECT_EQ(Columns(a, 2), (Strings{"あいうえおかきくけこ⟨　⟩", "さし"}));
    EXPECT_EQ(a.line(2).turns[1].iIndex, 2);
    EXPECT_EQ(a.line(2).turns[0].iLength, 40);
    EXPECT_EQ(Columns(a, 3), (Strings{"あいうえおかきくけ⟨　⟩", "こさ"}));
    EXPECT_EQ(a.line(3).turns[0].iLength, 36);
    EXPECT_EQ(a.line(3).turns[0].iCount, 9);
}

TEST(IndexCreator, PunctuationPairsAreNarrowed) {
    Arranged a;
    Body(a, u"あ」「い\r\n「」\r\nあ、」い", Boxes(4, 10));
    EXPECT_EQ(a.line(2).turns[0].iLength, 4 + 3 + 3 + 4);
    EXPECT_EQ(a.buffer.narrowMarks().at(TextPoint{2, 1, 0}), 14);
    EXPECT_EQ(a.buffer.narrowMarks().at(TextPoint{2, 1, 1}), 7);
    // At the column start the first mark keeps its cell; only the second narrows.
    EXPECT_EQ(a.line(3).turns[0].iLength, 4 + 3);
    EXPECT_EQ(a.buffer.narrowMarks().count(TextPoint{3, 0, 0}), 0u);
    EXPECT_EQ(a.buffer.narrowMarks().at(TextPoint{3, 0, 1}), 14);
    EXPECT_EQ(a.line(4).turns[0].iLength, 4 + 3 + 3 + 4);
    // A separator between numerals of one set shortens the pair by a quarter.
    Arranged b;
    Body(b, u"一、二\r\n１・２\r\n一、２", Boxes(4, 10));
    EXPECT_EQ(b.line(2).turns[0].iLength, 4 + 4 + 3);
    EXPECT_EQ(b.buffer.narrowMarks().at(TextPoint{2, 1, 0}), 14);
    EXPECT_EQ(b.line(3).turns[0].iLength, 4 + 4 + 2);
    EXPECT_EQ(b.buffer.narrowMarks().at(TextPoint{3, 1, 0}), 6);
    EXPECT_EQ(b.line(4).turns[0].iLength, 12);
    EXPECT_EQ(b.buffer.narrowMarks().count(TextPoint{4, 1, 0}), 0u);
}

TEST(IndexCreator, NothingHangsInABoxExactlyAsHighAsItsCells) {
    CYbTxtBuffer buffer;
    CYbTxtParam param;
    EXPECT_FALSE(CYbIndexCreator(buffer, Boxes(4, 10), kTextSize, param).noHang());
    EXPECT_TRUE(CYbIndexCreator(buffer, Boxes(4, 10, 2, true), kTextSize, param).noHang());
    CYbBunkoTxtLayout bunko;
    EXPECT_FALSE(CYbIndexCreator(buffer, bunko.GetBoxes(TextLayout), kTextSize, param).noHang());
}

TEST(IndexCreator, EmptyDocumentHasLastPageOne) {
    CYbTxtBuffer empty;
    EXPECT_EQ(LastPageNumber(empty, 34, 2), 1);
    Arranged a;
    ParseAndArrange(a, u"", Boxes(17, 40));
    EXPECT_EQ(a.lastPage, 1);
    EXPECT_EQ(a.line(0).iNextCol, 0);
    Arranged b;
    b.boxes = Boxes(17, 40);
    Arrange(b);
    EXPECT_EQ(b.lastPage, 1);
}

}  // namespace
}  // namespace Yomibon::Test
