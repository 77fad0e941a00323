#include "layout/txt_mapper.h"

#include <gtest/gtest.h>

#include "layout/map_test_buffers.h"

namespace Yomibon {
namespace {

using namespace Yomibon::Test;

class MapperTest : public ::testing::Test {
  protected:
    void SetUp() override { mapper.setGeometry(BunkoGeometry()); }
    const PageMapEntry& at(int line, int run, int pos) {
        return mapper.charMap().at(TextPoint{line, run, pos});
    }
    bool has(int line, int run, int pos) {
        return mapper.charMap().count(TextPoint{line, run, pos}) > 0;
    }
    CYbTxtBuffer buffer;
    CYbTxtMapper mapper;
};

TEST_F(MapperTest, PlainCharactersFollowTheColumnsRightToLeft) {
    buffer.addLine(EmptyLine());
    buffer.addLine(Line({Plain(u"あいう")}, {Turn(0, 0, 1, -3, 12)}));
    buffer.addLine(Line({Plain(u"え")}, {Turn(0, 0, 2, -1, 4)}));
    EXPECT_EQ(mapper.Arrange({}, buffer, 0), 21000);
    const PageMapEntry& a = at(1, 0, 0);
    EXPECT_EQ(a.iColumn, 1);
    EXPECT_EQ(a.x, kCol0X - kPitch);
    EXPECT_EQ(a.y, kTop);
    EXPECT_EQ(a.advance, 310 + kNatural);
    EXPECT_EQ(a.size, 310);
    EXPECT_EQ(a.height, 310);
    EXPECT_EQ(a.width, 310);
    EXPECT_EQ(a.inkX, a.x);
    EXPECT_EQ(a.inkY, a.y);
    EXPECT_EQ(at(1, 0, 2).y, kTop + 2 * (310 + kNatural));
    EXPECT_EQ(at(2, 0, 0).x, kCol0X - 2 * kPitch);
    // The left page's box begins its columns at its own right edge.
    CYbTxtBuffer other;
    other.addLine(Line({Plain(u"お")}, {Turn(0, 0, 17, -1, 4)}));
    mapper.Arrange({}, other, 0);
    EXPECT_EQ(mapper.charMap().at(TextPoint{0, 0, 0}).x, 9500 - 310);
    // Nothing of a spread that no line reaches; an empty paper builds nothing.
    EXPECT_EQ(mapper.Arrange({}, buffer, 34), 21000);
    EXPECT_TRUE(mapper.charMap().empty());
    MapGeometry none = BunkoGeometry();
    none.paperWidth = 0;
    mapper.setGeometry(none);
    EXPECT_EQ(mapper.Arrange({}, buffer, 0), 0);
    EXPECT_TRUE(mapper.charMap().empty());
}

TEST_F(MapperTest, SpreadStartingInsideALongLine) {
    // A line of 100 characters in columns 32, 33 and 34: the second spread begins at 34.
    buffer.addLine(EmptyLine(31));
    buffer.addLine(
        Line({Plain(Repeat(u"字", 100))},
             {Turn(0, 0, 32, 40, 160), Turn(0, 40, 33, 40, 160), Turn(0, 80, 34, -20, 80)}));
    mapper.Arrange({}, buffer, 34);
    EXPECT_FALSE(has(1, 0, 79));
    EXPECT_EQ(at(1, 0, 80).iColumn, 34);
    EXPECT_EQ(at(1, 0, 80).x, kCol0X);
    EXPECT_EQ(at(1, 0, 80).y, kTop);
    EXPECT_EQ(at(1, 0, 99).y, kTop + 19 * (310 + kNatural));
    EXPECT_EQ(mapper.charMap().size(), 20u);
    // The first spread holds the first two columns only.
    mapper.Arrange({}, buffer, 0);
    EXPECT_EQ(at(1, 0, 0).x, 9500 - 310 - (32 - 17) * kPitch);
    EXPECT_EQ(at(1, 0, 40).iColumn, 33);
    EXPECT_FALSE(has(1, 0, 80));
}

TEST_F(MapperTest, TurnedColumnIsJustifiedAndLastColumnKeepsNaturalSpacing) {
    // 39 characters: a kinsoku push-out left the column one cell short.
    buffer.addLine(EmptyLine());
    buffer.addLine(Line({Plain(Repeat(u"字", 39) + u"「字」")},
                        {Turn(0, 0, 1, 39, 156), Turn(0, 39, 2, -3, 12)}));
    mapper.Arrange({}, buffer, 0);
    const PageMapEntry& last = at(1, 0, 38);
    const int32_t spacing = (12800 - 39 * 310) / 38;
    EXPECT_EQ(at(1, 0, 1).y - at(1, 0, 0).y, 310 + spacing);
    EXPECT_LE(last.y + last.height, kBottom);
    EXPECT_GT(last.y + last.height, kBottom - 38);
    EXPECT_EQ(at(1, 0, 40).y - at(1, 0, 39).y, 310 + kNatural);
    EXPECT_EQ(at(1, 0, 39).y, kTop);
    // A last column too long for the natural spacing is fitted to the box.
    CYbTxtBuffer full;
    full.addLine(Line({Plain(Repeat(u"字", 41))}, {Turn(0, 0, 0, -41, 164)}));
    mapper.Arrange({}, full, 0);
    const PageMapEntry& hang = mapper.charMap().at(TextPoint{0, 0, 40});
    EXPECT_LE(hang.y + hang.height, kBottom);
    EXPECT_EQ(mapper.charMap().at(TextPoint{0, 0, 1}).y - kTop, 310 + (12800 - 41 * 310) / 40);
}

TEST_F(MapperTest, IndentsAndBottomAlignment) {
    buffer.addLine(EmptyLine());
    // Two cells of indent, one of hanging indent.
    LineInfo indented =
        Line({Typed(TT_LINE_INDENT, u"", {2, 0}, {1, -1}), Plain(Repeat(u"字", 45))},
             {Turn(0, 0, 1, 38, 152), Turn(1, 38, 2, -7, 28)});
    indented.iIndent = 2;
    indented.iHangIndent = 1;
    buffer.addLine(indented);
    // Raised by two cells and set to the bottom.
    LineInfo bottom =
        Line({Typed(TT_LINE_BOTTOM, u"", {2, 0}), Plain(u"署名")}, {Turn(0, 0, 3, -2, 8, 2)});
    bottom.iBottom = 2;
    buffer.addLine(bottom);
    mapper.Arrange({}, buffer, 0);
    EXPECT_EQ(at(1, 1, 0).y, kTop + 12800 * 2 / 40);
    EXPECT_EQ(at(1, 1, 38).y, kTop + 12800 / 40);
    const PageMapEntry& end = at(1, 1, 37);
    EXPECT_LE(end.y + end.height, kBottom);
    EXPECT_GT(end.y + end.height, kBottom - 37);
    const PageMapEntry& sign = at(2, 1, 1);
    EXPECT_EQ(sign.y + sign.advance, kBottom - 2 * 310);
    EXPECT_EQ(at(2, 1, 0).y, kBottom - 4 * 310);
    EXPECT_EQ(sign.advance, 310);
}

TEST_F(MapperTest, BottomRunInsideAColumnMovesTheRestDown) {
    buffer.addLine(Line({Plain(u"本文"), Typed(TT_LINE_BOTTOM, u"", {1, 0}), Plain(u"筆者")},
                        {Turn(0, 0, 0, -4, 16, 1)}));
    mapper.Arrange({}, buffer, 0);
    EXPECT_EQ(at(0, 0, 0).y, kTop);
    EXPECT_EQ(at(0, 2, 1).y + at(0, 2, 1).advance, kBottom - 310);
}

TEST_F(MapperTest, NarrowedMarksSmallTypeAndCells) {
    buffer.addLine(Line({Plain(u"「あ」"), Plain(u"い")}, {Turn(0, 0, 0, -4, 14)}));
    buffer.narrowMarks()[TextPoint{0, 0, 0}] = 7;
    buffer.narrowMarks()[TextPoint{0, 0, 2}] = 14;
    mapper.Arrange({}, buffer, 0);
    const int32_t adv = 310 + kNatural;
    // An opening bracket keeps its lower three quarters, its ink moved up by one.
    EXPECT_EQ(at(0, 0, 0).advance, adv * 3 / 4);
    EXPECT_EQ(at(0, 0, 0).inkY, kTop - adv / 4);
    // A closing bracket is three quarters high and flush with its cell's top.
    const PageMapEntry& close = at(0, 0, 2);
    EXPECT_EQ(close.advance, adv * 3 / 4);
    EXPECT_EQ(close.inkY, close.y);
    EXPECT_EQ(at(0, 1, 0).y, close.y + close.advance);

    CYbTxtBuffer small;
    small.addLine(Line(
        {Plain(u"字"), Typed(TT_PAREN_NOTE, u"（注記）"), Typed(TT_SUBSCRIPT, u"下"), Plain(u"字"),
         Typed(TT_REPEAT_MARK, u"／＼"), Typed(TT_AUTO_HORIZONTAL, u"12"), Plain(u"字")},
        {Turn(0, 0, 0, -5, 28)}));
    mapper.Arrange({}, small, 0);
    const auto& m = mapper.charMap();
    const PageMapEntry& note0 = m.at({0, 1, 0});
    EXPECT_EQ(note0.x, kCol0X + 155);
    EXPECT_EQ(note0.y, kTop + adv);
    EXPECT_EQ(note0.size, 155);
    EXPECT_EQ(m.at({0, 1, 3}).y, kTop + adv + 3 * 155);
    EXPECT_EQ(m.at({0, 2, 0}).x, kCol0X);
    EXPECT_EQ(m.at({0, 2, 0}).y, kTop + adv);
    // The main text resumes below the longer lane.
    const int32_t afterNotes = kTop + adv + 4 * 155;
    EXPECT_EQ(m.at({0, 3, 0}).y, afterNotes);
    const PageMapEntry& repeat = m.at({0, 4, 0});
    EXPECT_EQ(repeat.height, 620);
    EXPECT_EQ(repeat.y, afterNotes + adv);
    const PageMapEntry& h0 = m.at({0, 5, 0});
    const PageMapEntry& h1 = m.at({0, 5, 1});
    EXPECT_EQ(h0.y, repeat.y + repeat.advance);
    EXPECT_EQ(h1.y, h0.y);
    EXPECT_EQ(h0.x, kCol0X);
    EXPECT_EQ(h1.x, kCol0X + 155);
    EXPECT_EQ(h0.width, 155);
    EXPECT_EQ(h0.height, 310);
    EXPECT_EQ(m.at({0, 6, 0}).y, h0.y + h0.advance);
}

TEST_F(MapperTest, DroppedCharacterAtAColumnStartTakesNoRoom) {
    buffer.addLine(Line({Plain(Repeat(u"字", 40)), Typed(TT_HANGING, u"　"), Plain(u"次")},
                        {Turn(0, 0, 0, 40, 160), Turn(1, 0, 1, -1, 4)}));
    buffer.lines()[0].runs[1].chrType = CharClass(U'　');
    mapper.Arrange({}, buffer, 0);
    const PageMapEntry& dropped = at(0, 1, 0);
    EXPECT_EQ(dropped.advance, 0);
    EXPECT_EQ(dropped.size, 0);
    EXPECT_EQ(dropped.height, 0);
    EXPECT_EQ(at(0, 2, 0).y, kTop);
    EXPECT_EQ(at(0, 2, 0).x, kCol0X - kPitch);
}

TEST_F(MapperTest, SpacesDroppedAtAColumnEndTakeNoRoom) {
    // The arranger counted 38 characters; the three spaces after them were dropped.
    buffer.addLine(Line({Plain(Repeat(u"字", 38)), Plain(u"　　　"), Plain(u"次")},
                        {Turn(0, 0, 0, 38, 152), Turn(2, 0, 1, -1, 4)}));
    mapper.Arrange({}, buffer, 0);
    const PageMapEntry& last = at(0, 0, 37);
    EXPECT_LE(last.y + last.height, kBottom);
    EXPECT_GT(last.y + last.height, kBottom - 37);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(at(0, 1, p).advance, 0);
        EXPECT_EQ(at(0, 1, p).size, 0);
        EXPECT_EQ(at(0, 1, p).iColumn, 0);
    }
    EXPECT_EQ(at(0, 2, 0).y, kTop);
    // Spaces the arranger counted stay where they are.
    CYbTxtBuffer counted;
    counted.addLine(Line({Plain(u"字"), Plain(u"　　"), Plain(u"字")},
                         {Turn(0, 0, 0, 3, 12), Turn(2, 0, 1, -1, 4)}));
    mapper.Arrange({}, counted, 0);
    EXPECT_EQ(mapper.charMap().at({0, 1, 1}).size, 310);
}

TEST_F(MapperTest, MarksAreEnteredPerCoveredCharacter) {
    buffer.addLine(Line({Plain(u"強調する"), Typed(TT_SESAME_DOT, u"傍点", {0, 0}, {0, 1}),
                         Typed(TT_UNDER_LINE, u"左傍線", {0, 2}, {0, 3}),
                         Typed(TT_STRIKE_LINE, u"取消線", {0, 0}, {0, -1}),
                         Typed(TT_BOX, u"罫囲み", {0, 1}, {0, 2})},
                        {Turn(0, 0, 0, -4, 16)}));
    mapper.Arrange({}, buffer, 0);
    EXPECT_EQ(at(0, 1, 0).x, kCol0X + 310);
    EXPECT_EQ(at(0, 1, 1).y, at(0, 0, 1).y);
    EXPECT_FALSE(has(0, 1, 2));
    EXPECT_EQ(at(0, 2, 0).x, kCol0X - 310);
    EXPECT_EQ(at(0, 2, 1).y, at(0, 0, 3).y);
    EXPECT_EQ(at(0, 3, 3).x, kCol0X);
    EXPECT_EQ(at(0, 3, 3).size, 310);
    // A range box stays on the characters it encloses.
    EXPECT_EQ(at(0, 4, 0).x, kCol0X);
    EXPECT_EQ(at(0, 4, 1).y, at(0, 0, 2).y);
}

TEST_F(MapperTest, RuledBlockEntriesCarrySideFlags) {
    TextInfo open = Typed(TT_BOX_START, u"", {1, 0}, {0, 0});
    open.chrType = 1;
    TextInfo cont = open;
    cont.tpEnd.iPos = 1;
    TextInfo close = open;
    close.textType = TT_BOX_END;
    close.tpEnd.iPos = 2;
    buffer.addLine(
        Line({open, Plain(Repeat(u"字", 50))}, {Turn(0, 0, 0, 39, 156), Turn(1, 39, 1, -11, 44)}));
    buffer.addLine(Line({cont, Plain(u"字")}, {Turn(0, 0, 2, -1, 4)}));
    buffer.addLine(Line({close}, {Turn(0, 0, 3, 0, 0)}));
    mapper.Arrange({}, buffer, 0);
    EXPECT_EQ(at(0, 0, 0).width, 1);
    EXPECT_EQ(at(0, 0, 1).width, 0);
    EXPECT_EQ(at(0, 0, 0).iColumn, 0);
    EXPECT_EQ(at(0, 0, 1).iColumn, 1);
    EXPECT_EQ(at(0, 0, 0).y, kTop + 12800 / 40);
    EXPECT_EQ(at(0, 0, 0).y + at(0, 0, 0).advance, kBottom);
    EXPECT_LT(at(0, 0, 0).x, at(0, 1, 0).x);
    EXPECT_GT(at(0, 0, 0).x + at(0, 0, 0).size, at(0, 1, 0).x + 310);
    EXPECT_EQ(at(1, 0, 0).width, 0);
    EXPECT_EQ(at(2, 0, 0).width, 2);
    EXPECT_FALSE(has(0, 0, 2));
}

TEST_F(MapperTest, NotesAreNumberedFromOneOnEverySpread) {
    buffer.addLine(
        Line({Plain(u"語"), Typed(TT_NOTE, u"注記", {0, 0}, {0, 0})}, {Turn(0, 0, 0, -1, 4)}));
    buffer.addLine(
        Line({Plain(u"語"), Typed(TT_NOTE, u"二つ目", {0, 0}, {0, 0})}, {Turn(0, 0, 1, -1, 4)}));
    buffer.addLine(
        Line({Plain(u"次"), Typed(TT_NOTE, u"次の注", {0, 0}, {0, 0})}, {Turn(0, 0, 34, -1, 4)}));
    mapper.Arrange({}, buffer, 0);
    // "※1" beside the character in the ruby lane.
    const PageMapEntry& mark = at(0, 1, 0);
    EXPECT_EQ(mark.x, kCol0X + 310 + 20);
    EXPECT_EQ(mark.y, kTop);
    EXPECT_EQ(mark.size, 160);
    EXPECT_EQ(at(0, 1, 1).y, kTop + 160);
    // Then at the head of a note column: the number and the text, in note size.
    const PageMapEntry& head = at(0, 1, 2);
    EXPECT_EQ(head.x, 1000 - 200);
    EXPECT_EQ(head.y, 1000);
    EXPECT_EQ(head.size, 200);
    EXPECT_EQ(at(0, 1, 4).y, 1000 + 200 + 100);
    EXPECT_EQ(at(0, 1, 5).y, 1000 + 200 + 100 + 200);
    EXPECT_FALSE(has(0, 1, 6));
    // The second note's column lies one note pitch further left.
    EXPECT_EQ(at(1, 1, 2).x, 1000 - 200 - 220);
    mapper.Arrange({}, buffer, 34);
    EXPECT_EQ(at(2, 1, 2).x, 1000 - 200);
    MapOptions options;
    options.noteFormat = u"注%d";
    mapper.setOptions(options);
    mapper.Arrange({}, buffer, 0);
    EXPECT_EQ(at(1, 1, 2).x, 1000 - 200 - 220);
}

TEST_F(MapperTest, NombresAndRunningHead) {
    std::vector<TextInfo> deco = {Typed(TT_NOMBRE_EVEN, u"12"), Typed(TT_NOMBRE_ODD, u"3"),
                                  Typed(TT_RUNNING_HEAD, u"羅生門")};
    auto deco_at = [&](int k, int i) { return mapper.decoMap().at(TextPoint{0, k, i}); };
    MapGeometry g = BunkoGeometry();
    // Placement 0: entry 0 (odd) starts at its box's left edge, entry 1 ends at its right.
    mapper.setGeometry(g);
    mapper.Arrange(deco, buffer, 0);
    EXPECT_EQ(deco_at(0, 1).x, 1000);
    EXPECT_EQ(deco_at(0, 1).y, 300);
    EXPECT_EQ(deco_at(0, 1).size, 150);
    EXPECT_EQ(deco_at(0, 1).advance, 300);
    EXPECT_EQ(deco_at(1, 0).x + deco_at(1, 0).size, 20142);
    EXPECT_EQ(deco_at(0, 0).x, 20142 - 300);
    EXPECT_EQ(deco_at(0, 2).x, 2500);
    EXPECT_EQ(deco_at(1, 2).x, 2800);
    EXPECT_EQ(deco_at(2, 2).y, 300);
    // Placement 1 centres both.
    g.nombrePlacement = 1;
    mapper.setGeometry(g);
    mapper.Arrange(deco, buffer, 0);
    EXPECT_EQ(deco_at(0, 1).x, 1000 + (900 - 150) / 2);
    EXPECT_EQ(deco_at(0, 0).x, 19242 + (900 - 300) / 2);
    // Placement 2 reverses placement 0.
    g.nombrePlacement = 2;
    mapper.setGeometry(g);
    mapper.Arrange(deco, buffer, 0);
    EXPECT_EQ(deco_at(0, 1).x + 150, 1900);
    EXPECT_EQ(deco_at(0, 0).x, 19242);
    // No entry, or one without lines: nothing.
    g.nombre.resize(1);
    g.nombre[0].lines = 0;
    mapper.setGeometry(g);
    mapper.Arrange(deco, buffer, 0);
    EXPECT_EQ(mapper.decoMap().count(TextPoint{0, 0, 0}), 0u);
    EXPECT_EQ(mapper.decoMap().count(TextPoint{0, 0, 1}), 0u);
}

TEST_F(MapperTest, OutlandishRunsAndTurnsAreSurvived) {
    TextInfo box = Typed(TT_BOX_START, u"", {INT32_MAX, INT32_MAX}, {0, 0});
    box.chrType = 60000;
    buffer.addLine(Line(
        {Typed(TT_LINE_INDENT, u"", {INT32_MAX, 0}, {-5, 0}),
         Typed(TT_LINE_BOTTOM, u"", {INT32_MAX, 0}), Plain(u"字字"),
         Typed(TT_RUBY, u"るび", {-1, -1}, {INT32_MAX, INT32_MAX}),
         Typed(TT_SESAME_DOT, u"傍点", {2, 5}, {1, 0}), Typed(TT_NOTE, u"注", {99, 0}, {2, 0}), box,
         Typed(TT_LINK, u"", {2, 0}, {-1, -1}), Typed(TT_HORIZONTAL, std::u16string(300, u'1'))},
        {Turn(2, 1, 0, 1, 4), Turn(9, 0, 1, 1, 4), Turn(50, -3, 2, -1, 4), Turn(2, 0, 3, -1, 4)}));
    buffer.lines()[0].iIndent = INT32_MAX;
    buffer.lines()[0].iBottom = INT32_MAX;
    buffer.narrowMarks()[TextPoint{0, 2, 0}] = -1;
    mapper.Arrange({}, buffer, 0);
    EXPECT_TRUE(has(0, 2, 1));
    mapper.Build({Typed(TT_NOMBRE_ODD, u""), Typed(TT_RUNNING_HEAD, std::u16string(500, u'長'))},
                 buffer, 0, MapRect{0, 0, 100, 70});
    EXPECT_LE(mapper.decoMap().size(), 30u);
}

TEST_F(MapperTest, ScalingUsesTheStatedRounding) {
    buffer.addLine(Line({Plain(u"字"), Typed(TT_AUTO_HORIZONTAL, u"12")}, {Turn(0, 0, 0, -2, 8)}));
    mapper.Build({}, buffer, 0, MapRect{10, 20, 2110, 1500});
    const PageMapEntry& e = at(0, 0, 0);
    // floor((W + P v - 1) / W + 0.5) with W = 21000, P = 2100.
    EXPECT_EQ(e.x, 10 + 1970);
    EXPECT_EQ(e.y, 20 + 101);
    EXPECT_EQ(e.size, 32);
    EXPECT_EQ(e.advance, 33);
    EXPECT_EQ(e.height, 310);
    // Narrower than high: the glyph's reference point rounds with 0.9.
    const PageMapEntry& h = at(0, 1, 1);
    EXPECT_EQ(h.width, 155);
    EXPECT_EQ(h.inkX, 10 + int((21000.0 + 2100.0 * (kCol0X + 155) - 1) / 21000 + 0.9));
    EXPECT_EQ(h.inkY, 20 + int((21000.0 + 2100.0 * (kTop + 320) - 1) / 21000 + 0.9));
}

}  // namespace
}  // namespace Yomibon
