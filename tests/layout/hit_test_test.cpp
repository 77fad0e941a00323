#include <gtest/gtest.h>

#include "layout/map_test_buffers.h"
#include "layout/txt_mapper.h"

namespace Yomibon {
namespace {

using namespace Yomibon::Test;

TEST(MapFitTest, PaperFontsAndBoxRectangles) {
    CYbTxtMapper mapper;
    mapper.setGeometry(BunkoGeometry());
    EXPECT_FALSE(mapper.FitView(0, 100));
    ASSERT_TRUE(mapper.FitView(4200, 1480));
    EXPECT_EQ(mapper.paperRect(), (MapRect{1050, 0, 3150, 1480}));
    ASSERT_TRUE(mapper.FitView(2100, 2000));
    EXPECT_EQ(mapper.paperRect(), (MapRect{0, 260, 2100, 260 + 1480}));
    ASSERT_TRUE(mapper.FitView(2100, 1480));
    EXPECT_EQ(mapper.paperRect(), (MapRect{0, 0, 2100, 1480}));
    const MapFontSizes& f = mapper.fontSizes();
    EXPECT_EQ(f.text, 29);
    EXPECT_EQ(f.ruby, 14);
    EXPECT_EQ(f.note, 18);
    EXPECT_EQ(f.nombre, 30);
    EXPECT_EQ(f.runningHead, 30);
    ASSERT_EQ(mapper.boxRects().size(), 2u);
    const MapBoxRect& right = mapper.boxRects()[0];
    const MapBoxRect& left = mapper.boxRects()[1];
    EXPECT_EQ(right.box, (MapRect{1150, 100, 2000, 1380}));
    EXPECT_EQ(right.catchArea, (MapRect{950, 0, 2100, 1480}));
    EXPECT_EQ(left.catchArea, (MapRect{0, 0, 1150, 1480}));
    EXPECT_EQ(right.firstColumn, 0);
    EXPECT_EQ(right.lastColumn, 16);
    EXPECT_EQ(left.firstColumn, 17);
    EXPECT_EQ(left.lastColumn, 33);
}

class HitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mapper.setGeometry(BunkoGeometry());
        ASSERT_TRUE(mapper.FitView(2100, 1480));
        buffer.addLine(Line({Plain(u"あいう"), Typed(TT_RUBY, u"るび", {0, 0}, {0, 1})},
                            {Turn(0, 0, 0, -3, 12)}));
        buffer.addLine(
            Line({Plain(u"え"), Typed(TT_AUTO_HORIZONTAL, u"12")}, {Turn(0, 0, 1, -2, 8)}));
        mapper.Build({}, buffer, 0, mapper.paperRect());
    }
    CYbTxtBuffer buffer;
    CYbTxtMapper mapper;
};

TEST_F(HitTest, FindsTheCharacterUnderAPointAndNothingBetweenColumns) {
    TextPoint p;
    PageMapEntry e;
    const PageMapEntry& first = mapper.charMap().at({0, 0, 0});
    EXPECT_EQ(first.x, 1970);
    EXPECT_EQ(first.y, 101);
    ASSERT_TRUE(mapper.HitTest(1980, 110, p, e));
    EXPECT_EQ(p, (TextPoint{0, 0, 0}));
    EXPECT_EQ(e, first);
    ASSERT_TRUE(mapper.HitTest(1980, 101 + 33 + 5, p, e));
    EXPECT_EQ(p, (TextPoint{0, 0, 1}));
    // The ruby lane and the gap before the next column hold no character.
    EXPECT_FALSE(mapper.HitTest(2010, 110, p, e));
    EXPECT_FALSE(mapper.HitTest(1960, 110, p, e));
    // Cell edges are outside; below the last character there is nothing.
    EXPECT_FALSE(mapper.HitTest(1970, 110, p, e));
    EXPECT_FALSE(mapper.HitTest(1980, 101 + 3 * 33 + 10, p, e));
    // A horizontal cell: each digit is found at its own x.
    const PageMapEntry& d1 = mapper.charMap().at({1, 1, 1});
    ASSERT_TRUE(mapper.HitTest(d1.x + 2, d1.y + 5, p, e));
    EXPECT_EQ(p, (TextPoint{1, 1, 0}));  // narrow cells are hit across the font's width
    const PageMapEntry& d0 = mapper.charMap().at({1, 1, 0});
    const int px = d0.x + mapper.fontSizes().text;
    ASSERT_LT(px, d1.x + d1.size);
    ASSERT_TRUE(mapper.HitTest(px, d1.y + 5, p, e));
    EXPECT_EQ(p, (TextPoint{1, 1, 1}));
    EXPECT_TRUE(mapper.isSelectable({0, 0, 2}));
    EXPECT_FALSE(mapper.isSelectable({0, 1, 0}));
}

TEST_F(HitTest, NearestCharacterWhileDragging) {
    TextPoint p;
    PageMapEntry e;
    ASSERT_TRUE(mapper.NearestCharacter(1980, 1400, p, e));
    EXPECT_EQ(p, (TextPoint{0, 0, 2}));
    ASSERT_TRUE(mapper.NearestCharacter(1985, -50, p, e));
    EXPECT_EQ(p, (TextPoint{0, 0, 0}));
    // Past the paper's right edge: clamped, and the first column is nearest.
    ASSERT_TRUE(mapper.NearestCharacter(5000, 140, p, e));
    EXPECT_EQ(p, (TextPoint{0, 0, 1}));
    // In the left page's box there is no character to take.
    EXPECT_FALSE(mapper.NearestCharacter(500, 500, p, e));
    // Left of the second column inside the right box: the second column.
    ASSERT_TRUE(mapper.NearestCharacter(1300, 1000, p, e));
    EXPECT_EQ(p.iLine, 1);
}

TEST(MapPagesTest, PagesOfPointsAndFirstPointsOfPages) {
    CYbTxtBuffer buffer;
    const MapGeometry g = BunkoGeometry();
    EXPECT_EQ(LastPageNumber(buffer, g), 1);
    buffer.addLine(EmptyLine());
    buffer.addLine(
        Line({Plain(Repeat(u"字", 100))},
             {Turn(0, 0, 1, 40, 160), Turn(0, 40, 2, 40, 160), Turn(0, 80, 3, -20, 80)}));
    buffer.addLine(
        Line({Plain(Repeat(u"字", 60))}, {Turn(0, 0, 34, 40, 160), Turn(0, 40, 35, -20, 80)}));
    buffer.addLine(Line({Typed(TT_PICTURE, u"a.png")}, {Turn(0, 0, 36, 0, 0)}));
    buffer.pictureBoxes()[TextPoint{3, 0, 0}] = {5, 5};
    EXPECT_EQ(PageOfPoint(buffer, g, {1, 0, 0}), 0);
    EXPECT_EQ(PageOfPoint(buffer, g, {1, 0, 50}), 0);
    EXPECT_EQ(PageOfPoint(buffer, g, {2, 0, 45}), 2);
    EXPECT_EQ(PageOfPoint(buffer, g, {3, 0, 0}), 4);
    EXPECT_EQ(LastPageNumber(buffer, g), 5);
    EXPECT_EQ(PageOfPoint(buffer, g, {9, 0, 0}), 5);
    TextPoint p;
    ASSERT_TRUE(FirstPointOfPage(buffer, g, 4, p));
    EXPECT_EQ(p, (TextPoint{3, 0, 0}));
    // An odd page begins where its spread begins, not at the next spread's picture.
    ASSERT_TRUE(FirstPointOfPage(buffer, g, 3, p));
    EXPECT_EQ(p, (TextPoint{2, 0, 0}));
    ASSERT_TRUE(FirstPointOfPage(buffer, g, 5, p));
    EXPECT_EQ(p, (TextPoint{3, 0, 0}));
    ASSERT_TRUE(FirstPointOfPage(buffer, g, 0, p));
    EXPECT_EQ(p, (TextPoint{0, 0, 0}));
    EXPECT_EQ(ColumnToBoxNumber(g, 0), 1);
    EXPECT_EQ(ColumnToBoxNumber(g, 16), 1);
    EXPECT_EQ(ColumnToBoxNumber(g, 17), 2);
    EXPECT_EQ(ColumnToBoxNumber(g, 34), 3);
    EXPECT_EQ(ColumnToBoxNumber(g, 51), 4);
}

}  // namespace
}  // namespace Yomibon
