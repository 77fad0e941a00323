#include <gtest/gtest.h>

#include "layout/map_test_buffers.h"
#include "layout/txt_mapper.h"

namespace Yomibon {
namespace {

using namespace Yomibon::Test;

constexpr int32_t kRubyX = kCol0X + 310 + 20;  // beside the first column's text
constexpr int32_t kAdvance = 310 + kNatural;

class RubyTest : public ::testing::Test {
  protected:
    void SetUp() override { mapper.setGeometry(BunkoGeometry()); }
    // One line in column 0: the base text, then a ruby over characters first..last of it.
    void single(std::u16string text, int first, int last, std::u16string ruby) {
        const int n = int(CharCount(text));
        buffer.addLine(
            Line({Plain(std::move(text)), Typed(TT_RUBY, std::move(ruby), {0, first}, {0, last})},
                 {Turn(0, 0, 0, -n, 4 * n)}));
        mapper.Arrange({}, buffer, 0);
    }
    const PageMapEntry& at(int line, int run, int pos) {
        return mapper.charMap().at(TextPoint{line, run, pos});
    }
    CYbTxtBuffer buffer;
    CYbTxtMapper mapper;
};

TEST_F(RubyTest, OneRubyCharacterPerBaseCharacterStandsBesideIt) {
    single(u"東京", 0, 1, u"とう");
    EXPECT_EQ(at(0, 1, 0).x, kRubyX);
    EXPECT_EQ(at(0, 1, 0).y, kTop);
    EXPECT_EQ(at(0, 1, 1).y, kTop + kAdvance);
    EXPECT_EQ(at(0, 1, 0).size, 160);
    EXPECT_EQ(at(0, 1, 0).height, 160);
    EXPECT_EQ(at(0, 1, 0).advance, 160);
    EXPECT_EQ(at(0, 1, 0).iColumn, 0);
}

TEST_F(RubyTest, TwoCharactersOverOneBaseStartAtItsTop) {
    single(u"字漢", 1, 1, u"かん");
    EXPECT_EQ(at(0, 1, 0).y, kTop + kAdvance);
    EXPECT_EQ(at(0, 1, 1).y, kTop + kAdvance + 160);
}

TEST_F(RubyTest, ShortRubyIsSpreadOverTwoAndFiveBaseCharacters) {
    single(u"漢字", 0, 1, u"かんじ");
    // 480 of ruby over 640 of base: each character advances 160 + 53, the first 26 down.
    EXPECT_EQ(at(0, 1, 0).y, kTop + 26);
    EXPECT_EQ(at(0, 1, 1).y, kTop + 26 + 213);
    EXPECT_EQ(at(0, 1, 2).advance, 213);
    CYbTxtBuffer five;
    five.addLine(Line({Plain(u"五文字熟語"), Typed(TT_RUBY, u"ごもじ", {0, 0}, {0, 4})},
                      {Turn(0, 0, 0, -5, 20)}));
    mapper.Arrange({}, five, 0);
    const int32_t gap = (5 * kAdvance - 3 * 160) / 3;
    const auto& m = mapper.charMap();
    EXPECT_EQ(m.at({0, 1, 0}).y, kTop + gap / 2);
    EXPECT_EQ(m.at({0, 1, 2}).y, kTop + gap / 2 + 2 * (160 + gap));
    EXPECT_EQ(m.at({0, 1, 2}).x, kRubyX);
}

TEST_F(RubyTest, LongRubyIsCentredOverItsBaseAndStaysInTheBox) {
    // Between kana it covers half of each: 480 of reading over 310 of base, 85 either side.
    single(u"あ一あ", 1, 1, u"ひとつ");
    EXPECT_EQ(at(0, 1, 0).y, kTop + kAdvance - 85);
    EXPECT_EQ(at(0, 1, 2).y, kTop + kAdvance - 85 + 320);
    // At the column's end it is moved up to end at the box bottom.
    CYbTxtBuffer end;
    end.addLine(
        Line({Plain(Repeat(u"字", 39) + u"漢"), Typed(TT_RUBY, u"ながいるび", {0, 39}, {0, 39})},
             {Turn(0, 0, 0, -40, 160)}));
    mapper.Arrange({}, end, 0);
    const auto& m = mapper.charMap();
    EXPECT_EQ(m.at({0, 0, 39}).y, kTop + 39 * kAdvance);
    EXPECT_EQ(m.at({0, 1, 4}).y + 160, kBottom);
}

TEST_F(RubyTest, PrecedingRubyBoundsTheNext) {
    buffer.addLine(Line({Plain(u"漢"), Typed(TT_RUBY, u"かんかん", {0, 0}, {0, 0}), Plain(u"字"),
                         Typed(TT_RUBY, u"じ", {2, 0}, {2, 0})},
                        {Turn(0, 0, 0, -2, 8)}));
    mapper.Arrange({}, buffer, 0);
    EXPECT_EQ(at(0, 1, 3).y + at(0, 1, 3).advance, kTop + 640);
    EXPECT_EQ(at(0, 3, 0).y, kTop + 640);
}

TEST_F(RubyTest, BaseCrossingAColumnContinuesInTheNext) {
    buffer.addLine(
        Line({Plain(Repeat(u"字", 39) + u"漢字字"), Typed(TT_RUBY, u"かんじ", {0, 39}, {0, 40})},
             {Turn(0, 0, 0, 40, 160), Turn(0, 40, 1, -2, 8)}));
    mapper.Arrange({}, buffer, 0);
    // 480 of ruby over two parts of 320, shared by length: two characters beside the first
    // part, one centred beside the second; neither share runs past its part.
    const int32_t top0 = kTop + 39 * kAdvance;
    EXPECT_EQ(at(0, 1, 0).y, top0);
    EXPECT_EQ(at(0, 1, 1).y, top0 + 160);
    EXPECT_EQ(at(0, 1, 0).x, kRubyX);
    EXPECT_EQ(at(0, 1, 1).iColumn, 0);
    EXPECT_EQ(at(0, 1, 2).iColumn, 1);
    EXPECT_EQ(at(0, 1, 2).x, kRubyX - kPitch);
    EXPECT_EQ(at(0, 1, 2).y, kTop + (kAdvance - 160) / 2);
    // A small "っ" may not begin the second part: it stays with what precedes it.
    CYbTxtBuffer small;
    small.addLine(
        Line({Plain(Repeat(u"字", 39) + u"漢字字"), Typed(TT_RUBY, u"かんっ", {0, 39}, {0, 40})},
             {Turn(0, 0, 0, 40, 160), Turn(0, 40, 1, -2, 8)}));
    mapper.Arrange({}, small, 0);
    EXPECT_EQ(mapper.charMap().at({0, 1, 2}).iColumn, 0);
}

TEST_F(RubyTest, RubyWithoutPlacedBaseIsLeftOut) {
    buffer.addLine(Line(
        {Plain(u"字"), Typed(TT_RUBY, u"じ", {5, 0}, {7, -1}), Typed(TT_RUBY, u"", {0, 0}, {0, 0})},
        {Turn(0, 0, 0, -1, 4)}));
    mapper.Arrange({}, buffer, 0);
    EXPECT_EQ(mapper.charMap().size(), 1u);
}

}  // namespace
}  // namespace Yomibon
