// Breaks, indents, bottom alignment, line-length limits and pictures, on real notation.
#include <gtest/gtest.h>

#include "arrange_test_support.h"
#include "layout/bunko_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "platform/utf16.h"

namespace Yomibon::Test {
namespace {

void Body(Arranged& a, std::u16string_view body, std::vector<LayoutBox> boxes) {
    ParseAndArrange(a, u"\r\n" + std::u16string(body), std::move(boxes));
}

// The line whose text begins with `text`.
int LineOf(const Arranged& a, std::u16string_view text) {
    for (int i = 0; i < a.buffer.lineCount(); ++i)
        for (const TextInfo& run : a.line(i).runs)
            if (run.textType == TT_TEXT && run.str.starts_with(text)) return i;
    return -1;
}

TEST(ArrangeBreaks, PageAndLeafBreaksInTheTwoTierLayout) {
    CYbShinShoTate2TxtLayout shinsho;
    const auto& boxes = shinsho.GetBoxes(TextLayout);
    ASSERT_EQ(boxes.size(), 4u);
    Arranged a;
    Body(a,
         u"甲\r\n［＃改ページ］\r\n乙\r\n［＃改丁］\r\n丙\r\n［＃改段］\r\n丁\r\n［＃改ページ］\r\n"
         u"戊",
         boxes);
    // A page break on the first tier of the right page continues on the first tier of the
    // left page (the next page).
    EXPECT_EQ(a.line(LineOf(a, u"甲")).iStartCol, 1);
    int otsu = a.line(LineOf(a, u"乙")).iStartCol;
    EXPECT_EQ(otsu, 34);
    EXPECT_EQ(ColumnToBox(otsu, boxes), 3);
    // A leaf break continues on the left page of the next spread.
    int hei = a.line(LineOf(a, u"丙")).iStartCol;
    EXPECT_EQ(hei, 68 + 34);
    EXPECT_EQ(ColumnToBox(hei, boxes), 4 + 3);
    // A column break continues on the lower tier.
    int tei = a.line(LineOf(a, u"丁")).iStartCol;
    EXPECT_EQ(tei, 68 + 51);
    // A page break from a lower tier goes to the first tier of the next page.
    int bo = a.line(LineOf(a, u"戊")).iStartCol;
    EXPECT_EQ(bo, 136);
    EXPECT_EQ(ColumnToBox(bo, boxes), 9);
    EXPECT_EQ(a.lastPage, 5);
    // The break lines cover the columns they skip, one turn per column.
    const LineInfo& brk = a.line(LineOf(a, u"乙") - 1);
    EXPECT_EQ(brk.iStartCol, 2);
    EXPECT_EQ(brk.iNextCol, 34);
    EXPECT_EQ(int(brk.turns.size()), 34 - 2);
    TextPoint point;
    ASSERT_TRUE(a.buffer.columnToPoint(20, point));
    EXPECT_EQ(point.iLine, LineOf(a, u"乙") - 1);
}

TEST(ArrangeBreaks, BreakAtTheStartOfAnEmptyPageIsIgnored) {
    CYbBunkoTxtLayout bunko;
    const auto& boxes = bunko.GetBoxes(TextLayout);
    // The title page's own break, then the text's break: one break, not a blank page.
    Arranged a;
    ParseAndArrange(a, u"題名\r\n著者\r\n\r\n［＃改ページ］\r\n本文", boxes);
    int body = LineOf(a, u"本文");
    EXPECT_EQ(a.line(body).iStartCol, 17);
    EXPECT_EQ(a.lastPage, 1);
    // A blank line between two breaks makes the intended blank page.
    Arranged b;
    ParseAndArrange(b, u"題名\r\n著者\r\n\r\n［＃改ページ］\r\n\r\n［＃改ページ］\r\n本文", boxes);
    EXPECT_EQ(b.line(LineOf(b, u"本文")).iStartCol, 34);
    EXPECT_EQ(b.lastPage, 3);
}

TEST(ArrangeBreaks, SpreadBreakContinuesOnTheRightPageOfTheNextSpread) {
    CYbBunkoTxtLayout bunko;
    const auto& boxes = bunko.GetBoxes(TextLayout);
    ASSERT_EQ(boxes.size(), 2u);  // 17 columns a page, 34 a spread
    Arranged a;
    Body(a, u"甲\r\n［＃改見開き］\r\n乙\r\n［＃改ページ］\r\n丙\r\n［＃改見開き］\r\n丁", boxes);
    EXPECT_EQ(a.line(LineOf(a, u"甲")).iStartCol, 1);
    // From the right page: the left page stays blank, the text goes on at the next spread.
    EXPECT_EQ(a.line(LineOf(a, u"乙")).iStartCol, 34);
    EXPECT_EQ(a.line(LineOf(a, u"丙")).iStartCol, 34 + 17);
    // From the left page: the next spread's right page.
    EXPECT_EQ(a.line(LineOf(a, u"丁")).iStartCol, 68);
    EXPECT_EQ(a.lastPage, 5);
    // Where a spread has not begun yet the break is ignored, like the other breaks.
    Arranged b;
    ParseAndArrange(b, u"題名\r\n著者\r\n\r\n［＃改ページ］\r\n［＃改見開き］\r\n本文", boxes);
    EXPECT_EQ(b.line(LineOf(b, u"本文")).iStartCol, 34);
    EXPECT_EQ(b.lastPage, 3);
}

TEST(ArrangeBreaks, SecondIndentOpenerReplacesTheFirstAndOneCloserEndsIt) {
    Arranged a;
    Body(a,
         u"［＃ここから３字下げ］\r\nあ\r\n［＃ここから５字下げ］\r\nい\r\n［＃ここで字下げ終わり］"
         u"\r\nう\r\n［＃ここから地から２字上げ］\r\nえ\r\n［＃ここから地付き］\r\nお\r\n"
         u"［＃ここで地付き終わり］\r\nか",
         Boxes(17, 10));
    EXPECT_EQ(a.line(LineOf(a, u"あ")).iIndent, 3);
    EXPECT_EQ(a.line(LineOf(a, u"い")).iIndent, 5);
    EXPECT_EQ(a.line(LineOf(a, u"う")).iIndent, 0);
    EXPECT_EQ(a.line(LineOf(a, u"え")).iBottom, 2);
    EXPECT_EQ(a.line(LineOf(a, u"お")).iBottom, 0);
    EXPECT_EQ(a.line(LineOf(a, u"か")).iBottom, -1);
}

TEST(ArrangeBreaks, IndentsAndBottomAlignmentAcrossBlocks) {
    Arranged a;
    Body(
        a,
        u"［＃ここから２字下げ］\r\nあいうえおかきくけこさしす\r\nたち\r\n［＃ここで字下げ終わり］"
        u"\r\n"
        u"なに\r\n［＃ここから地付き］\r\nはひ\r\n［＃ここで地付き終わり］\r\nまみ\r\n"
        u"［＃地から３字上げ］やゆ\r\n［＃この行１字下げ、折り返して３字下げ］あいうえおかきくけこ",
        Boxes(17, 10));
    int first = LineOf(a, u"あいうえお");
    const LineInfo& block = a.line(first);
    EXPECT_EQ(block.iIndent, 2);
    EXPECT_EQ(block.iHangIndent, 2);
    ASSERT_EQ(block.turns.size(), 2u);
    EXPECT_EQ(block.turns[0].iCount, 8);  // 8 cells after a 2-cell indent, no mark to hang
    EXPECT_EQ(a.line(LineOf(a, u"たち")).iIndent, 2);
    EXPECT_EQ(a.line(LineOf(a, u"なに")).iIndent, 0);
    // The lines holding only block annotations take no column.
    EXPECT_EQ(a.line(first).iStartCol, a.line(first - 1).iStartCol);
    EXPECT_EQ(a.line(first - 1).iNextCol, a.line(first - 1).iStartCol);
    const LineInfo& bottom = a.line(LineOf(a, u"はひ"));
    EXPECT_EQ(bottom.iBottom, 0);
    EXPECT_EQ(bottom.turns[0].iBottom, 0);
    EXPECT_EQ(a.line(LineOf(a, u"まみ")).iBottom, -1);
    const LineInfo& raised = a.line(LineOf(a, u"やゆ"));
    EXPECT_EQ(raised.iBottom, 3);
    int last = a.buffer.lineCount() - 1;
    EXPECT_EQ(a.line(last).iIndent, 1);
    EXPECT_EQ(a.line(last).iHangIndent, 3);
    ASSERT_EQ(a.line(last).turns.size(), 2u);
    EXPECT_EQ(a.line(last).turns[0].iCount, 9);
    EXPECT_EQ(a.line(last).turns[1].iCount, -1);
}

TEST(ArrangeBreaks, LineLengthLimitSetsColumnsSolid) {
    Arranged a;
    Body(a,
         u"［＃ここから５字詰め］\r\nあいうえおかきくけこさ\r\n［＃ここで字詰め終わり］\r\nあいうえ"
         u"おかき",
         Boxes(17, 10));
    const LineInfo& limited = a.line(LineOf(a, u"あいうえおかきくけこさ"));
    ASSERT_EQ(limited.turns.size(), 3u);
    EXPECT_EQ(limited.turns[0].iCount, 5);
    EXPECT_EQ(limited.turns[0].iLength, 42);  // the full capacity: set without spreading
    EXPECT_EQ(limited.turns[2].iCount, -1);
    const LineInfo& free = a.line(a.buffer.lineCount() - 1);
    ASSERT_EQ(free.turns.size(), 1u);
    EXPECT_EQ(free.turns[0].iLength, 28);
}

// An opener giving indents and a line length together: both hold for the block, and the
// length ends with the indent block even though no "字詰め終わり" closes it.
TEST(ArrangeBreaks, IndentAndLineLengthInOneOpener) {
    Arranged a;
    Body(a,
         u"［＃ここから２字下げ、折り返して４字下げ、１２字詰め］\r\n"
         u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ\r\n"
         u"［＃ここで字下げ終わり］\r\n"
         u"まみむめもやゆよらりるれろわをんがぎぐげござじずぜぞだぢづでど",
         Boxes(17, 40));
    const LineInfo& block = a.line(LineOf(a, u"あいうえお"));
    EXPECT_EQ(block.iIndent, 2);
    EXPECT_EQ(block.iHangIndent, 4);
    ASSERT_GE(block.turns.size(), 3u);
    EXPECT_EQ(block.turns[0].iCount, 12);  // twelve below the indent
    EXPECT_EQ(block.turns[1].iCount, 12);
    const LineInfo& after = a.line(a.buffer.lineCount() - 1);
    EXPECT_EQ(after.iIndent, 0);
    EXPECT_EQ(after.turns.size(), 1u);  // thirty characters in one column again
}

TEST(ArrangeBreaks, PictureOnAPageOfItsOwn) {
    CYbBunkoTxtLayout bunko;
    const auto& boxes = bunko.GetBoxes(TextLayout);
    // Built by hand: a text line, a page picture, a text line.
    Arranged a;
    a.boxes = boxes;
    LineInfo empty;
    a.buffer.addLine(empty);
    LineInfo text;
    text.runs.push_back(TextInfo{u"あいう", 32});
    a.buffer.addLine(text);
    LineInfo picture;
    TextInfo pict;
    pict.str = std::u16string(u"fig.png\0\0\0\0", 11);
    pict.textType = TT_PICTURE_PAGE;
    picture.runs.push_back(pict);
    a.buffer.addLine(picture);
    a.buffer.addLine(text);
    Arrange(a);
    auto it = a.buffer.pictureBoxes().find(TextPoint{2, 0, 0});
    ASSERT_NE(it, a.buffer.pictureBoxes().end());
    EXPECT_EQ(it->second, std::make_pair(2, 2));  // the left page of the first spread
    // The text goes on in the current box and skips the picture's page.
    EXPECT_EQ(a.line(3).iStartCol, 2);
    EXPECT_EQ(a.lastPage, 1);
    // Enough text to fill the first page continues on the page after the picture.
    Arranged b;
    b.boxes = boxes;
    b.buffer.addLine(empty);
    b.buffer.addLine(picture);
    for (int i = 0; i < 20; ++i)
        b.buffer.addLine(text);
    Arrange(b);
    EXPECT_EQ(b.line(17).iStartCol, 16);
    EXPECT_EQ(b.line(18).iStartCol, 34);
    EXPECT_EQ(b.lastPage, 3);
    // A second page picture takes the next free page.
    Arranged c;
    c.boxes = boxes;
    c.buffer.addLine(empty);
    c.buffer.addLine(picture);
    c.buffer.addLine(picture);
    Arrange(c);
    EXPECT_EQ(c.buffer.pictureBoxes().at(TextPoint{2, 0, 0}), std::make_pair(3, 3));
    EXPECT_EQ(c.lastPage, 3);
}

TEST(ArrangeBreaks, RubyBaseIsNotLeftWithOneCharacterInTheNextColumn) {
    Arranged a;
    Body(a,
         u"あいうえおかきく漢字《かんじ》です\r\nあいうえおかきく｜漢字熟語《かんじじゅくご》です",
         Boxes(4, 10));
    // Two base characters at the column end: after the turn only one would remain, so the
    // base ends hanging in the first column.
    EXPECT_EQ(ToUtf8(a.columns(LineOf(a, u"あいうえおかきく"))[0]), "あいうえおかきく漢字");
    int second = a.buffer.lineCount() - 1;
    auto cols = a.columns(second);
    ASSERT_EQ(cols.size(), 2u);
    EXPECT_EQ(ToUtf8(cols[0]), "あいうえおかきく");
    EXPECT_EQ(ToUtf8(cols[1]), "漢字熟語です");
}

}  // namespace
}  // namespace Yomibon::Test
