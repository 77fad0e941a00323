// Readings of real lines in the two-tier layout: a reading stays inside the tier of its
// base, also when the base runs through several short columns or ends a spread-out column.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>

#include "layout/arrange.h"
#include "layout/map_test_buffers.h"
#include "layout/shinsho_txt_layout.h"
#include "layout/txt_mapper.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"

namespace Yomibon {
namespace {

using namespace Yomibon::Test;

class MapRubyBoxesTest : public ::testing::Test {
  protected:
    void map(std::u16string_view body) {
        ASSERT_TRUE(ParseArrangeAndMap(body, buffer, layout, param, mapper));
    }
    // The glyphs of the first ruby run, by column.
    std::map<int, std::vector<PageMapEntry>> reading() {
        std::map<int, std::vector<PageMapEntry>> columns;
        int line = -1, run = -1;
        for (const auto& [at, e] : mapper.charMap()) {
            if (buffer.lines()[at.iLine].runs[at.iIndex].textType != TT_RUBY) continue;
            if (line < 0) line = at.iLine, run = at.iIndex;
            if (at.iLine == line && at.iIndex == run) columns[e.iColumn].push_back(e);
        }
        return columns;
    }
    // Every reading glyph lies inside the box of its column.
    void expectInsideBoxes() {
        int checked = 0;
        for (const auto& [at, e] : mapper.charMap()) {
            if (buffer.lines()[at.iLine].runs[at.iIndex].textType != TT_RUBY) continue;
            const ColumnBox cb = FindColumnBox(mapper.geometry(), e.iColumn);
            ASSERT_GE(cb.index, 0);
            const LayoutBox& box = mapper.geometry().text[size_t(cb.index)];
            EXPECT_GE(e.y, box.top) << at.iLine << "/" << at.iIndex << "/" << at.iPos;
            EXPECT_LE(e.y + e.height, box.bottom) << at.iLine << "/" << at.iIndex << "/" << at.iPos;
            ++checked;
        }
        EXPECT_GT(checked, 0);
    }
    // The point of the first run holding `text`.
    TextPoint find(std::u16string_view text) const {
        for (int l = 0; l < buffer.lineCount(); ++l)
            for (int r = 0; r < int(buffer.lines()[l].runs.size()); ++r)
                if (buffer.lines()[l].runs[r].str == text) return TextPoint{l, r, 0};
        return TextPoint{-1, -1, -1};
    }
    CYbShinShoTate2TxtLayout layout;
    CYbTxtParam param;
    CYbTxtBuffer buffer;
    CYbTxtMapper mapper;
};

TEST_F(MapRubyBoxesTest, ReadingOfABaseThroughFourShortColumnsIsSharedAmongThemAll) {
    map(u"［＃ここから３字詰め］\r\n"
        u"著『本草薬名備考和訓鈔《ほんぞうやくみょうびこうわくんしょう》』には\r\n");
    const auto columns = reading();
    // 本｜草薬名｜備考和｜訓鈔: 18 reading characters over four columns, none left out.
    ASSERT_EQ(columns.size(), 4u);
    size_t total = 0;
    for (const auto& [column, glyphs] : columns) {
        EXPECT_FALSE(glyphs.empty());
        total += glyphs.size();
    }
    EXPECT_EQ(total, 18u);
    expectInsideBoxes();
}

TEST_F(MapRubyBoxesTest, ReadingAtTheEndOfASpreadOutColumnStaysInItsTier) {
    // The spaces that end the column are dropped and its three characters are spread over
    // the whole tier; the reading of the last two must not reach the tier below.
    map(u"［＃ここから２字下げ］\r\n"
        u"一｜脇差《わきざし》　　　　　　　　　　　　　　　壹｜腰《こし》\r\n"
        u"十一月晦日｜並《なら》びに村名主源左衛門に向ひ下谷山下にて見当り候由\r\n");
    expectInsideBoxes();
}

TEST_F(MapRubyBoxesTest, ReadingBeforeBottomAlignedTextKeepsClearOfIt) {
    // The base begins the second column of the line, and the text after the bottom
    // alignment stays in that column right after it: the base is spread so that ひとたび
    // ends before the upright digits begin.
    map(u"春夏秋冬東西南北上下左右前後天地山川草の一度《ひとたび》［＃地付き］6430"
        u"［＃「6430」は縦中横］\r\n");
    int32_t rubyEnd = INT32_MIN, cellTop = INT32_MAX;
    for (const auto& [at, e] : mapper.charMap()) {
        const int type = buffer.lines()[at.iLine].runs[at.iIndex].textType;
        if (type == TT_RUBY) rubyEnd = std::max(rubyEnd, e.y + e.height);
        if (type == TT_HORIZONTAL) cellTop = std::min(cellTop, e.y);
    }
    ASSERT_NE(rubyEnd, INT32_MIN);
    ASSERT_NE(cellTop, INT32_MAX);
    EXPECT_LE(rubyEnd, cellTop);
}

TEST_F(MapRubyBoxesTest, BaseWhoseReadingFindsNoRoomDoesNotHangBelowTheColumn) {
    // 竜 fills the last cell of the tier after a kanji: with 躍 hanging below it りようをどり
    // could only run out of the column, so the base begins the next column whole.
    map(u"ああああああああああああああああああ山｜竜躍《りようをどり》虎怒がごとく\r\n");
    const TextPoint base = find(u"竜躍");
    ASSERT_GE(base.iLine, 0);
    const auto& turns = buffer.lines()[base.iLine].turns;
    ASSERT_GE(turns.size(), 2u);
    EXPECT_EQ(turns[1].iIndex, base.iIndex);
    EXPECT_EQ(turns[1].iPos, 0);
    expectInsideBoxes();
}

TEST_F(MapRubyBoxesTest, BaseWhoseReadingFitsOverTheKanaBeforeItStillHangs) {
    // ひあぶりばしら is half a cell longer than 火刑柱: one ruby character over に before it
    // and a quarter of spread leave 柱 hanging as before, its glyph begun inside the tier,
    // and the reading ends inside the tier too.
    map(u"あああああああああああああああああに火刑柱《ひあぶりばしら》の三人の苦悶を\r\n");
    const TextPoint base = find(u"火刑柱");
    ASSERT_GE(base.iLine, 0);
    const auto& turns = buffer.lines()[base.iLine].turns;
    ASSERT_GE(turns.size(), 2u);
    EXPECT_EQ(turns[1].iIndex, base.iIndex + 2);  // after the reading: の
    EXPECT_EQ(turns[0].iCount, 21);
    const auto columns = reading();
    ASSERT_EQ(columns.size(), 1u);
    const PageMapEntry& ni = mapper.charMap().at({base.iLine, base.iIndex - 1, 17});
    const PageMapEntry& hashira = mapper.charMap().at({base.iLine, base.iIndex, 2});
    const ColumnBox cb = FindColumnBox(mapper.geometry(), hashira.iColumn);
    EXPECT_LT(hashira.y, mapper.geometry().text[size_t(cb.index)].bottom);
    EXPECT_GE(columns.begin()->second.front().y, ni.y);
    EXPECT_LE(columns.begin()->second.back().y + columns.begin()->second.back().height,
              mapper.geometry().text[size_t(cb.index)].bottom);
}

TEST(MapRubySpreads, ReadingOfABaseSplitBetweenTwoSpreadsIsSharedBetweenThem) {
    // 釈迦牟尼 ends the last column of the first spread, 仏 begins the next spread (a picture
    // page between them): each spread sets its own share of しゃかむにぶつ, by the base
    // characters on it, and nothing runs over 舎利 beside 仏.
    CYbTxtMapper mapper;
    mapper.setGeometry(BunkoGeometry());
    const int perSpread = mapper.geometry().columnsPerSpread;
    CYbTxtBuffer buffer;
    buffer.addLine(EmptyLine());
    buffer.addLine(
        Line({Plain(u"中に釈迦牟尼仏の舎利を"), Typed(TT_RUBY, u"しゃかむにぶつ", {0, 2}, {0, 6})},
             {Turn(0, 0, perSpread - 1, 6, 24), Turn(0, 6, perSpread, -6, 24)}));
    mapper.Arrange({}, buffer, 0);
    const auto& first = mapper.charMap();
    for (int k = 0; k < 6; ++k)
        EXPECT_TRUE(first.count({1, 1, k})) << k;
    EXPECT_FALSE(first.count({1, 1, 6}));
    mapper.Arrange({}, buffer, perSpread);
    const auto& second = mapper.charMap();
    EXPECT_FALSE(second.count({1, 1, 5}));
    ASSERT_TRUE(second.count({1, 1, 6}));
    const PageMapEntry& tsu = second.at({1, 1, 6});
    const PageMapEntry& sha = second.at({1, 0, 8});  // 舎
    EXPECT_LE(tsu.y + tsu.height, sha.y);
}

}  // namespace
}  // namespace Yomibon
