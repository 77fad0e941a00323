// Horizontal-in-vertical runs drawn on a spread: a run wider than its column is condensed,
// so that its ink stays inside the column's own band.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "render/canvas_fixture.h"
#include "render/page_canvas.h"

namespace Yomibon {
namespace {

constexpr uint32_t kPaper = 0xFFFFFF;

using Fixture = Test::CanvasFixture;

// The left and right end of the ink in rows top..bottom between x0 and x1, or INT_MAX /
// INT_MIN.
std::pair<int, int> InkSpan(const CYbBitmap& b, int top, int bottom, int x0, int x1) {
    int left = INT_MAX, right = INT_MIN;
    for (int y = std::max(0, top); y < std::min(b.height(), bottom); ++y)
        for (int x = std::max(0, x0); x < std::min(b.width(), x1); ++x)
            if ((b.pixel(x, y) & 0xFFFFFF) != kPaper) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

TEST(PageTateChuYoko, FourDigitsAreCondensedIntoTheirColumn) {
    // A line of its own between empty ones: whatever ink lies level with the run is its own.
    Fixture f(u"題名\r\n著者\r\n\r\n\r\nた。［＃地付き］1000［＃「1000」は縦中横］\r\n\r\n", 1600,
              1000);
    f.canvas->drawPage(0);
    const auto& lines = f.doc->buffer().lines();
    TextPoint run{-1, -1, 0};
    for (int l = 0; l < int(lines.size()); ++l)
        for (int r = 0; r < int(lines[size_t(l)].runs.size()); ++r)
            if (lines[size_t(l)].runs[size_t(r)].textType == TT_HORIZONTAL) run = {l, r, 0};
    ASSERT_GE(run.iLine, 0);
    const PageMapEntry& first = f.map().at(run);
    const PageMapEntry& last = f.map().at({run.iLine, run.iIndex, 3});
    const PageMapEntry& ta = f.map().at({run.iLine, 0, 0});
    // The column's text band: where た is drawn.
    const int bandLeft = ta.inkX;
    const int bandRight = ta.inkX + ta.size;
    EXPECT_GE(first.inkX, bandLeft);
    EXPECT_LE(last.inkX + last.size, bandRight + 1);
    // Uncondensed, the digits would reach half a cell into the columns on either side.
    const int cell = bandRight - bandLeft;
    const auto [left, right] = InkSpan(f.bitmap(), first.inkY, first.inkY + first.advance,
                                       bandLeft - cell, bandRight + cell);
    ASSERT_NE(left, INT_MAX) << "nothing drawn";
    EXPECT_GE(left, bandLeft - 1);
    EXPECT_LE(right, bandRight + 1);
    // All four digits are there: ink in each quarter of the cell.
    const int quarter = std::max(1, (bandRight - bandLeft) / 4);
    for (int k = 0; k < 4; ++k) {
        int ink = 0;
        for (int y = first.inkY; y < first.inkY + first.advance; ++y)
            for (int x = bandLeft + k * quarter; x < bandLeft + (k + 1) * quarter; ++x)
                if ((f.bitmap().pixel(x, y) & 0xFFFFFF) != kPaper) ++ink;
        EXPECT_GT(ink, 0) << k;
    }
}

}  // namespace
}  // namespace Yomibon
