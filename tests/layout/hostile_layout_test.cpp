// Layout files and notation made to harm: coordinates far outside 32-bit sums, blocks nested
// far past the nesting limit.
#include <gtest/gtest.h>

#include "layout/arrange.h"
#include "layout/bunko_txt_layout.h"
#include "layout/txt_mapper.h"
#include "platform/limits.h"
#include "platform/paths.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/aozora_parser.h"

namespace Yomibon {
namespace {

CYbTxtBuffer Parse(const std::u16string& text) {
    CYbTxtBuffer buffer;
    CYbAozoraTxtParser parser;
    parser.parseText(std::u16string_view(text), buffer);
    return buffer;
}

// Places every character of the first spread; returns the placements.
std::vector<PageMapEntry> MapFirstSpread(CYbTxtBuffer& buffer, const CYbTxtLayout& layout) {
    CYbTxtParam param;
    ArrangeDocument(buffer, layout, param);
    CYbTxtMapper mapper;
    mapper.setLayout(layout);
    mapper.setOptions(MapOptions::FromParam(param));
    std::vector<PageMapEntry> out;
    if (mapper.geometry().columnsPerSpread <= 0) return out;
    mapper.Arrange({}, buffer, 0);
    for (const auto& [at, e] : mapper.charMap())
        out.push_back(e);
    return out;
}

// The values once overflowed the mapper's 32-bit arithmetic (glyphs at y = -76 million);
// they are clamped when the row is read.
TEST(HostileLayout, HugeCoordinatesAreClampedWhenRead) {
    Yomibon::Test::TempDir dir;
    const auto file = dir.path() / "hostile.lay";
    Yomibon::Test::WriteFile(file,
                             "LayoutType,BUNKO 1.0\r\nPaperSize,2000000000,-5\r\n"
                             "TextLayout,0,-2000000000,10000,2000000000,17,40\r\n"
                             "TextLayout,-2000000000,0,2000000000,10000,17,40\r\n"
                             "TextSize,2000000000,0\r\nRubySize,-2000000000,2000000000\r\n"
                             "PageCharCount,2000000000,-3\r\n");
    CYbBunkoTxtLayout layout;
    ASSERT_TRUE(layout.Open(FromFsPath(file).c_str()));
    const int32_t m = Limits::kMaxLayoutCoordinate;
    for (const LayoutBox& box : layout.GetBoxes(TextLayout)) {
        EXPECT_EQ(box.top == -m || box.left == -m, true);
        EXPECT_GE(box.top, -m);
        EXPECT_LE(box.bottom, m);
        EXPECT_LE(box.right, m);
    }
    EXPECT_EQ(layout.GetSize(TextSize).size, m);
    EXPECT_EQ(layout.GetSize(RubySize).size, 0);
    EXPECT_EQ(layout.GetPaperSize().first, m);
    EXPECT_EQ(layout.GetPaperSize().second, 0);

    CYbTxtBuffer buffer =
        Parse(u"吾輩は猫である。名前はまだ無い。\nどこで生れたかとんと見当がつかぬ。");
    for (const PageMapEntry& e : MapFirstSpread(buffer, layout)) {
        EXPECT_GE(e.y, -100 * m);
        EXPECT_LE(e.y, 100 * m);
        EXPECT_GE(e.x, -100 * m);
        EXPECT_LE(e.x, 100 * m);
    }
}

// Twenty-five thousand nested blocks (far past the limit) keep at most the nesting limit open; the
// text after them is arranged and mapped as usual.
TEST(HostileLayout, DeeplyNestedBlocksStayBounded) {
    std::u16string text;
    for (int i = 0; i < 25'000; ++i)
        text += u"［＃ここから罫囲み］\n";
    text += u"本文の一行目。\n";
    for (int i = 0; i < 25'000; ++i)
        text += u"［＃ここで罫囲み終わり］\n";
    CYbTxtBuffer buffer = Parse(text);
    size_t mostRuns = 0;
    for (const LineInfo& line : buffer.lines())
        mostRuns = std::max(mostRuns, line.runs.size());
    EXPECT_LE(mostRuns, Limits::kMaxNestingDepth + 8);
    CYbBunkoTxtLayout layout;
    CYbTxtParam param;
    const int last = ArrangeDocument(buffer, layout, param);
    EXPECT_GE(last, 1);
    EXPECT_FALSE(MapFirstSpread(buffer, layout).empty());
}

}  // namespace
}  // namespace Yomibon
