#include "layout/map_page_decorations.h"

#include <gtest/gtest.h>

#include "layout/map_test_buffers.h"

namespace Yomibon {
namespace {

using namespace Yomibon::Test;

TEST(MapPageDecorationsTest, NombresOfBothPagesAndTheRunningHead) {
    CYbBunkoTxtLayout layout;
    layout.SetNombreFormat(0, u"- %1!d! -");
    layout.SetNombreFormat(1, u"%1!d!/%2!d!");
    auto runs = SpreadDecorations(5, 9, layout, u"見出し");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].textType, TT_NOMBRE_EVEN);
    EXPECT_EQ(runs[0].str, u"4/9");
    EXPECT_EQ(runs[1].textType, TT_NOMBRE_ODD);
    EXPECT_EQ(runs[1].str, u"- 5 -");
    EXPECT_EQ(runs[2].textType, TT_RUNNING_HEAD);
    EXPECT_EQ(runs[2].str, u"見出し");
    // Page 0 has no nombre.
    runs = SpreadDecorations(0, 9, layout, u"");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].str, u"- 1 -");
}

TEST(MapPageDecorationsTest, RunningHeadIsTheLastHeadingBeforeTheNextSpread) {
    CYbTxtBuffer buffer;
    buffer.setTitle(u"題名");
    buffer.addLine(EmptyLine());
    buffer.addLine(Line({Plain(u"一")}, {Turn(0, 0, 1, -1, 4)}));
    buffer.addLine(Line({Plain(u"二")}, {Turn(0, 0, 30, -1, 4)}));
    buffer.addLine(Line({Plain(u"三")}, {Turn(0, 0, 40, -1, 4)}));
    std::vector<OutlineEntry> outline;
    EXPECT_EQ(RunningHeadText(buffer, outline, 0, 34), u"題名");
    outline.push_back({{1, 0, 0}, {1, 0, 0}, u"第一章", 1});
    outline.push_back({{2, 0, 0}, {2, 0, 0}, u"節", 2});
    outline.push_back({{3, 0, 0}, {3, 0, 0}, u"第二章", 1});
    EXPECT_EQ(RunningHeadText(buffer, outline, 0, 34), u"第一章");
    EXPECT_EQ(RunningHeadText(buffer, outline, 34, 34), u"第二章");
}

}  // namespace
}  // namespace Yomibon
