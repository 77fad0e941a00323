// How the run kinds other than plain text take room in a column.
#include <gtest/gtest.h>

#include "arrange_test_support.h"
#include "platform/utf16.h"

namespace Yomibon::Test {
namespace {

TextInfo MakeRun(int type, std::u16string text, uint16_t cls = 0xFFFF) {
    TextInfo run;
    run.textType = type;
    run.str = std::move(text);
    run.chrType = cls;
    return run;
}

// Line 0 empty, then one line of the given runs.
Arranged OneLine(std::vector<TextInfo> runs, std::vector<LayoutBox> boxes) {
    Arranged a;
    a.boxes = std::move(boxes);
    a.buffer.addLine(LineInfo{});
    LineInfo line;
    line.runs = std::move(runs);
    a.buffer.addLine(line);
    Arrange(a);
    return a;
}

TEST(ArrangeRuns, RoomTakenByEachKindOfRun) {
    const uint16_t kana = 32;
    // Small type beside the text pushes the next character down by half a cell per character.
    Arranged note = OneLine({MakeRun(TT_TEXT, u"あ", kana), MakeRun(TT_PAREN_NOTE, u"注記", 0x100),
                             MakeRun(TT_TEXT, u"い", kana)},
                            Boxes(4, 10));
    EXPECT_EQ(note.line(1).turns[0].iLength, 12);
    EXPECT_EQ(note.line(1).turns[0].iCount, -2);
    // An external character with a description takes a cell; a repetition mark two.
    Arranged ext =
        OneLine({MakeRun(TT_TEXT, u"あ", kana), MakeRun(TT_EXTERNAL_CHAR, u"木＋世"),
                 MakeRun(TT_REPEAT_MARK, u"／＼"), MakeRun(TT_HORIZONTAL, u"AB", 0x8040)},
                Boxes(4, 10));
    EXPECT_EQ(ext.line(1).turns[0].iLength, 4 + 4 + 8 + 4);
    EXPECT_EQ(ext.line(1).turns[0].iCount, -4);
    // Ruby, notes, emphasis and headings take no room.
    Arranged none = OneLine({MakeRun(TT_TEXT, u"漢字", 0x180), MakeRun(TT_RUBY, u"かんじ"),
                             MakeRun(TT_SESAME_DOT, u"傍点"), MakeRun(TT_NOTE, u"注"),
                             MakeRun(TT_HEADING_LARGE, u""), MakeRun(TT_RESERVED_82, u"x")},
                            Boxes(4, 10));
    EXPECT_EQ(none.line(1).turns[0].iLength, 8);
    // A repetition mark that does not fit goes whole to the next column.
    Arranged rep =
        OneLine({MakeRun(TT_TEXT, u"あいうえおかきくけ", kana), MakeRun(TT_REPEAT_MARK, u"／＼")},
                Boxes(4, 10));
    ASSERT_EQ(rep.line(1).turns.size(), 2u);
    EXPECT_EQ(rep.line(1).turns[1].iIndex, 1);
    EXPECT_EQ(rep.line(1).turns[1].iLength, 8);
}

// "×" between words takes a whole cell, as the vertical face draws it: the advance and the
// glyph agree and the sign does not overprint its neighbour.
TEST(ArrangeRuns, MultiplicationSignTakesAFullCell) {
    Arranged a;
    ParseAndArrange(a, u"\r\n100円×家族人数", Boxes(4, 10));
    const LineInfo& line = a.line(a.buffer.lineCount() - 1);
    ASSERT_EQ(line.turns.size(), 1u);
    // 100 as tate-chu-yoko (one cell), 円, ×, 家族人数: seven cells.
    EXPECT_EQ(line.turns[0].iLength, 7 * 4);
}

TEST(ArrangeRuns, DashPairsStayTogether) {
    Arranged a;
    ParseAndArrange(a, u"\r\nあいうえおかきくけ――こ", Boxes(4, 10));
    auto cols = a.columns(2);
    ASSERT_EQ(cols.size(), 2u);
    EXPECT_EQ(ToUtf8(cols[0]), "あいうえおかきくけ―⟨―⟩");
    EXPECT_EQ(ToUtf8(cols[1]), "こ");
}

TEST(ArrangeRuns, CommentBlockTakesOneColumn) {
    Arranged a;
    ParseAndArrange(a, u"\r\n-------\r\n説明一\r\n説明二\r\n-------\r\n本文", Boxes(17, 10));
    EXPECT_EQ(a.line(2).runs[0].textType, TT_COMMENT_BEGIN);
    EXPECT_EQ(a.line(3).runs[0].textType, TT_COMMENT);
    EXPECT_EQ(a.line(2).iStartCol, 1);
    EXPECT_EQ(a.line(2).iNextCol, 2);
    for (int l = 3; l <= 5; ++l)
        EXPECT_EQ(a.line(l).iNextCol, a.line(l).iStartCol) << l;
    EXPECT_EQ(a.line(6).iStartCol, 2);
}

}  // namespace
}  // namespace Yomibon::Test
