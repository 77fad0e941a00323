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

}  // namespace
}  // namespace Yomibon
