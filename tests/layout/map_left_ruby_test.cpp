// Ruby on the left of the column: the same fitting as on the right, on the other side.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "layout/arrange.h"
#include "layout/bunko_txt_layout.h"
#include "layout/map_test_buffers.h"
#include "layout/txt_mapper.h"
#include "settings/txt_param.h"
#include "text/aozora_parser.h"

namespace Yomibon {
namespace {

using namespace Yomibon::Test;

constexpr int32_t kRightX = kCol0X + 310 + 20;  // beside the first column's text
constexpr int32_t kLeftX = kCol0X - 20 - 160;   // on its other side
constexpr int32_t kAdvance = 310 + kNatural;

TEST(LeftRuby, StandsLeftOfItsBaseWithTheRightRubysFitting) {
    CYbTxtMapper mapper;
    mapper.setGeometry(BunkoGeometry());
    CYbTxtBuffer buffer;
    buffer.addLine(Line({Plain(u"東京"), Typed(TT_LEFT_RUBY, u"とう", {0, 0}, {0, 1})},
                        {Turn(0, 0, 0, -2, 8)}));
    mapper.Arrange({}, buffer, 0);
    const auto& m = mapper.charMap();
    EXPECT_EQ(m.at(TextPoint{0, 1, 0}).x, kLeftX);
    EXPECT_EQ(m.at(TextPoint{0, 1, 0}).inkX, kLeftX);
    EXPECT_EQ(m.at(TextPoint{0, 1, 0}).y, kTop);
    EXPECT_EQ(m.at(TextPoint{0, 1, 1}).y, kTop + kAdvance);
    EXPECT_EQ(m.at(TextPoint{0, 1, 0}).size, 160);
}

TEST(LeftRuby, BaseCarriesBothRubies) {
    CYbTxtMapper mapper;
    mapper.setGeometry(BunkoGeometry());
    CYbTxtBuffer buffer;
    buffer.addLine(Line({Plain(u"漢字"), Typed(TT_RUBY, u"かんじ", {0, 0}, {0, 1}),
                         Typed(TT_LEFT_RUBY, u"カンジ", {0, 0}, {0, 1})},
                        {Turn(0, 0, 0, -2, 8)}));
    mapper.Arrange({}, buffer, 0);
    const auto& m = mapper.charMap();
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(m.at(TextPoint{0, 1, k}).x, kRightX);
        EXPECT_EQ(m.at(TextPoint{0, 2, k}).x, kLeftX);
        // Spread over the base alike on both sides.
        EXPECT_EQ(m.at(TextPoint{0, 1, k}).y, m.at(TextPoint{0, 2, k}).y);
    }
}

// A "sic" note on a base that already carries a reading goes to the base's left, so that
// the two never lie over each other.
TEST(LeftRuby, SicNoteBesideARubyMovesToTheLeft) {
    CYbBunkoTxtLayout layout;
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    parser.parseText(
        std::u16string_view(u"\r\n剛腹《がうふく》［＃「剛腹」に「ママ」の注記］な人\r\n"), buffer);
    CYbTxtParam param;
    ArrangeDocument(buffer, layout, param);
    CYbTxtMapper mapper;
    mapper.setLayout(layout);
    mapper.Arrange({}, buffer, 0);
    int32_t baseX = INT32_MIN, rubyX = INT32_MIN, sicX = INT32_MAX;
    int sics = 0;
    for (const auto& [at, e] : mapper.charMap()) {
        const int type = buffer.lines()[size_t(at.iLine)].runs[size_t(at.iIndex)].textType;
        if (type == TT_TEXT) baseX = std::max(baseX, e.x);
        if (type == TT_RUBY) rubyX = std::max(rubyX, e.x);
        if (type == TT_SIC) {
            sicX = std::min(sicX, e.x + e.size);
            ++sics;
        }
    }
    EXPECT_EQ(sics, 2);
    EXPECT_GT(rubyX, baseX);
    EXPECT_LE(sicX, baseX);
}

TEST(LeftRuby, BaseAfterTheColumnLeftEmptyBesideASicNoteIsNotSplit) {
    // The sic note on 諸大夫にて leaves the next column empty; 或日 would end the first
    // column with 或 and continue with 日 after the empty one, where neither part has room
    // for its share of あるひ: the whole base moves over the empty column instead.
    CYbBunkoTxtLayout layout;
    CYbTxtBuffer buffer;
    CYbTxtParam param;
    CYbTxtMapper mapper;
    ASSERT_TRUE(ParseArrangeAndMap(
        u"ああ月頃時の關白《くわんぱく》二條左大臣殿の諸大夫《しよたいふ》にて［＃「諸大夫にて」"
        u"はママ］取高《とりだか》七石二人｜扶持《ふち》なる河島伯耆守《かはしまはうきのかみ》と"
        u"云る人｜或日《あるひ》只一人｜祇園《ぎをん》の社へ參詣なし\r\n",
        buffer, layout, param, mapper));
    int line = -1, base = -1;
    for (int l = 0; l < buffer.lineCount(); ++l)
        for (int r = 0; r < int(buffer.lines()[size_t(l)].runs.size()); ++r)
            if (buffer.lines()[size_t(l)].runs[size_t(r)].str == u"或日") line = l, base = r;
    ASSERT_GE(base, 0);
    const LineInfo& info = buffer.lines()[size_t(line)];
    ASSERT_EQ(info.turns.size(), 3u);
    EXPECT_EQ(info.turns[1].iCount, 0);  // left empty beside the note
    EXPECT_EQ(info.turns[2].iIndex, base);
    EXPECT_EQ(info.turns[2].iPos, 0);
    // あるひ lies beside 或日 alone, clear of 人 and 只.
    const PageMapEntry& aru = mapper.charMap().at({line, base, 0});
    const PageMapEntry& hi = mapper.charMap().at({line, base, 1});
    for (int k = 0; k < 3; ++k) {
        const PageMapEntry& r = mapper.charMap().at({line, base + 1, k});
        EXPECT_EQ(r.iColumn, aru.iColumn);
        EXPECT_GE(r.y, aru.y);
        EXPECT_LE(r.y + r.height, hi.y + hi.height);
    }
}

}  // namespace
}  // namespace Yomibon
