// Runs that may not be broken: equal marks that may not begin a column (a run of four or
// more included), the word before them, and what a ruby base brought to the top of a
// column, in both kinsoku modes.
#include <gtest/gtest.h>

#include "layout/arrange_test_support.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

using namespace Yomibon::Test;

class ArrangeUnbreakableTest : public ::testing::TestWithParam<int> {
  protected:
    // The columns of the first text line, arranged in columns of `chars` cells.
    std::vector<std::u16string> columns(std::u16string_view body, int chars) {
        std::u16string text = u"題名\r\n\r\n";
        text += body;
        const int32_t mode = GetParam();
        a.param.SetPoints(u"KinsokuMode", &mode, 1);
        ParseAndArrange(a, text, Boxes(10, chars));
        for (int l = 0; l < a.buffer.lineCount(); ++l)
            if (a.line(l).turns.size() > 1 && !a.line(l).runs.empty() &&
                a.line(l).runs.front().textType == TT_TEXT)
                return a.columns(l);
        ADD_FAILURE() << "no line turned";
        return {};
    }
    Arranged a;
};

TEST_P(ArrangeUnbreakableTest, LeaderOfFullStopsAfterASpaceTakesTheWordBeforeAlong) {
    // "demo," fills the column; the space cannot, and the six stops after it may neither
    // begin the next column nor hang.
    const auto cols = columns(u"一二三四五六七八demo, ......との結合と考へる。\r\n", 10);
    ASSERT_GE(cols.size(), 2u);
    EXPECT_NE(cols[1].front(), u'.') << ToUtf8(cols[1]);
    EXPECT_NE(cols[1].front(), u' ') << ToUtf8(cols[1]);
    EXPECT_NE(cols[1].find(u"......"), std::u16string::npos);
}

TEST_P(ArrangeUnbreakableTest, FiveQuestionMarksAtAColumnEndTakeTheCharacterBefore) {
    const auto cols = columns(u"一二三四五六七八九十？？？？？と言つた。\r\n", 10);
    ASSERT_GE(cols.size(), 2u);
    EXPECT_EQ(cols[0], u"一二三四五六七八九");
    EXPECT_EQ(cols[1].substr(0, 6), u"十？？？？？");
}

TEST_P(ArrangeUnbreakableTest, ClosingBracketAfterAMovedRubyBaseInAThreeCharacterColumn) {
    // The base 浩然 moves whole to the top of a column of three (with its opening bracket);
    // the closing bracket after it may not begin the next column.
    const auto cols = columns(
        u"［＃ここから３字詰め］\r\n"
        u"坂本浩雪《さかもとこうせつ》（浩然《こうねん》）の『菌譜《きんぷ》』には、"
        u"\r\n［＃ここで字詰め終わり］\r\n",
        20);
    ASSERT_GE(cols.size(), 4u);
    for (size_t k = 1; k < cols.size(); ++k) {
        const char16_t c = cols[k].front();
        EXPECT_TRUE(c != u'）' && c != u'』' && c != u'、') << k << " " << ToUtf8(cols[k]);
        if (GetParam() == 1) {
            EXPECT_LE(cols[k].size(), 3u) << ToUtf8(cols[k]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, ArrangeUnbreakableTest, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "Strict" : "Standard"; });

}  // namespace
}  // namespace Yomibon
