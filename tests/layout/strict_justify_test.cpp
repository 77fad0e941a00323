// Strict justification on real lines: a column whose last syllable was pushed out is filled to
// its end at the spaces a reader expects to stretch, and hit testing follows the glyphs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout/arrange.h"
#include "layout/bunko_txt_layout.h"
#include "layout/txt_mapper.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"

namespace Yomibon {
namespace {

// 39 characters, then a syllable with a small kana that may not begin the next column in
// strict mode: きょっ goes whole to the next column, the first one is one cell short.
const std::u16string kLine =
    u"あ「いう」えお｜漢字《かんじ》くけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆ"
    u"きょっとはいいてんきですね";

struct Mapped {
    CYbBunkoTxtLayout layout;
    CYbTxtBuffer buffer;
    CYbTxtMapper mapper;
    std::vector<PageMapEntry> column;  // main glyphs of the first column, in order
};

void Map(Mapped& m, bool strict, std::u16string_view line = kLine) {
    CYbAozoraTxtParser parser;
    parser.parseText(std::u16string_view(u"\r\n" + std::u16string(line) + u"\r\n"), m.buffer);
    CYbTxtParam param;
    const int32_t mode = strict ? 1 : 0;
    param.SetPoints(u"KinsokuMode", &mode, 1);
    ArrangeDocument(m.buffer, m.layout, param);
    m.mapper.setLayout(m.layout);
    m.mapper.setOptions(MapOptions::FromParam(param));
    m.mapper.Arrange({}, m.buffer, 0);
    const int first = m.buffer.lines()[2].turns.front().iColumn;
    for (const auto& [at, e] : m.mapper.charMap()) {
        const int type = m.buffer.lines()[size_t(at.iLine)].runs[size_t(at.iIndex)].textType;
        if (at.iLine == 2 && type == TT_TEXT && e.iColumn == first && e.height > 0)
            m.column.push_back(e);
    }
}

TEST(StrictJustify, PushedOutColumnStretchesOnlyWhereAReaderExpects) {
    Mapped m;
    Map(m, true);
    ASSERT_EQ(m.column.size(), 39u);  // きょっ went to the next column
    const LayoutBox& box = m.layout.GetBoxes(TextLayout).front();
    const int32_t ts = m.layout.GetSize(TextSize).size;
    const int32_t natural = (box.bottom - box.top - ts * box.chars) / (box.chars - 1);
    auto gap = [&](size_t k) { return m.column[k + 1].y - m.column[k].y - m.column[k].height; };
    // The column ends at the box's end.
    EXPECT_NEAR(m.column.back().y + ts, box.bottom, 2);
    // Not after the opening bracket, not before the closing one, not inside the ruby base.
    EXPECT_EQ(m.column[2].y - m.column[1].y, m.column[1].advance);
    EXPECT_LE(m.column[1].advance, ts + natural);
    EXPECT_EQ(gap(3), natural);  // う|」
    EXPECT_EQ(gap(7), natural);  // 漢|字
    // Everywhere else the missing cell is shared out.
    EXPECT_GT(gap(0), natural + 5);  // あ|「
    EXPECT_GT(gap(8), natural + 5);  // 字|く
    EXPECT_GT(gap(20), natural + 5);
}

TEST(StrictJustify, SpacesDroppedAtTheColumnEndBecomeNoGaps) {
    // 36 characters, then four spaces that reach the column's end: the last is dropped there
    // and the column ends with the spaces, not with its characters spread over their room.
    Mapped m;
    Map(m, true,
        u"それは大正十五年の十月二十日……正面の壁のカレンダーが示す斎藤博士の命日"
        u"　　　　正木博士が自殺したと若林博士が言ったその日に");
    ASSERT_EQ(m.column.size(), 36u);
    const LayoutBox& box = m.layout.GetBoxes(TextLayout).front();
    const int32_t ts = m.layout.GetSize(TextSize).size;
    const int32_t natural = (box.bottom - box.top - ts * box.chars) / (box.chars - 1);
    for (size_t k = 0; k + 1 < m.column.size(); ++k)
        EXPECT_NEAR(m.column[k + 1].y - m.column[k].y, ts + natural, 1) << k;
    // Four cells of spaces are left empty at the end.
    EXPECT_NEAR(m.column.back().y + ts + 4 * (ts + natural), box.bottom, 4);
}

TEST(StrictJustify, StandardModeSpreadsEvenly) {
    Mapped m;
    Map(m, false);
    ASSERT_GE(m.column.size(), 39u);
    for (size_t k = 5; k + 1 < m.column.size(); ++k)
        EXPECT_NEAR(m.column[k + 1].y - m.column[k].y, m.column[5].advance, 1) << k;
}

TEST(StrictJustify, HitTestingFollowsTheStretchedGlyphs) {
    Mapped m;
    Map(m, true);
    const auto [w, h] = m.layout.GetPaperSize();
    m.mapper.Scale({0, 0, w, h});
    // A point in the widened space after あ still finds あ.
    const auto& map = m.mapper.charMap();
    const PageMapEntry a = map.at(TextPoint{2, 0, 0});
    const int32_t ts = m.layout.GetSize(TextSize).size;
    ASSERT_GT(a.y + a.advance - 2, a.y + ts + 10);  // below the glyph and its natural space
    TextPoint point;
    PageMapEntry entry;
    ASSERT_TRUE(m.mapper.HitTest(a.x + a.size / 2, a.y + a.advance - 2, point, entry));
    EXPECT_EQ(point, (TextPoint{2, 0, 0}));
}

}  // namespace
}  // namespace Yomibon
