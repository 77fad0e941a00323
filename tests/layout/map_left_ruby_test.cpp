// Ruby on the left of the column: the same fitting as on the right, on the other side.
#include <gtest/gtest.h>

#include "layout/map_test_buffers.h"
#include "layout/txt_mapper.h"

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

}  // namespace
}  // namespace Yomibon
