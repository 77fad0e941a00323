// Arbitrary runs, as a damaged or hostile text could produce them, arrange without harm and
// keep the turn lists one per column.
#include <gtest/gtest.h>

#include <random>

#include "arrange_test_support.h"

namespace Yomibon::Test {
namespace {

TextInfo RandomRun(std::mt19937& rng) {
    static const std::u16string kPieces[] = {u"あ", u"。", u"」", u"「", u"　", u"…", u"！", u"12",
                                             u"、", u"一", u"𠀋", u"ッ", u" ",  u"―", u""};
    TextInfo run;
    int pick = int(rng() % 10);
    run.textType = pick < 6 ? TT_TEXT : int(rng() % TT_MAX);
    int pieces = int(rng() % 6);
    for (int i = 0; i < pieces; ++i)
        run.str += kPieces[rng() % std::size(kPieces)];
    static const uint16_t kClasses[] = {32, 0x40, 0xF048, 0x88, 0x180, 0xFFFF, 72};
    run.chrType = kClasses[rng() % std::size(kClasses)];
    run.tpBegin = {int32_t(rng() % 12) - 2, int32_t(rng() % 8) - 2};
    run.tpEnd = {int32_t(rng() % 12) - 2, int32_t(rng() % 8) - 2};
    return run;
}

TEST(ArrangeRandom, ArbitraryRunsKeepOneTurnPerColumn) {
    std::mt19937 rng(20261208);
    for (int round = 0; round < 200; ++round) {
        Arranged a;
        bool exact = round % 3 == 0;
        a.boxes = round % 2 ? Boxes(3, 4, 4, exact) : Boxes(2, 6, 2, exact);
        a.buffer.addLine(LineInfo{});
        int lines = 1 + int(rng() % 12);
        for (int l = 0; l < lines; ++l) {
            LineInfo line;
            int runs = int(rng() % 10);
            for (int r = 0; r < runs; ++r)
                line.runs.push_back(RandomRun(rng));
            a.buffer.addLine(line);
        }
        Arrange(a);
        ASSERT_EQ(a.lastPage % 2, 1);
        int expected = 0;
        for (int l = 0; l < a.buffer.lineCount(); ++l) {
            const LineInfo& line = a.line(l);
            ASSERT_FALSE(line.turns.empty());
            EXPECT_GE(line.iStartCol, expected) << round << " " << l;
            EXPECT_GE(line.iNextCol, line.iStartCol) << round << " " << l;
            expected = line.iNextCol;
            if (line.iNextCol == line.iStartCol) continue;
            for (size_t k = 0; k < line.turns.size(); ++k)
                EXPECT_EQ(line.turns[k].iColumn, line.iStartCol + int(k)) << round << " " << l;
            EXPECT_LT(line.turns.back().iColumn, line.iNextCol) << round << " " << l;
            // Every column summary can be formed.
            (void)a.columns(l);
        }
    }
}

}  // namespace
}  // namespace Yomibon::Test
