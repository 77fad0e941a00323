#include "layout/page_params.h"

#include <gtest/gtest.h>

#include "layout/bunko_txt_layout.h"
#include "layout/custom_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "platform/paths.h"
#include "support/test_support.h"

using namespace Yomibon;

namespace {

void ExpectSameLayout(const CYbTxtLayout& a, const CYbTxtLayout& b, bool marginBoxes) {
    EXPECT_EQ(a.GetBoxes(TextLayout), b.GetBoxes(TextLayout));
    EXPECT_EQ(a.GetPaperSize(), b.GetPaperSize());
    EXPECT_EQ(a.GetLineCount(), b.GetLineCount());
    EXPECT_EQ(a.GetCharCount(), b.GetCharCount());
    for (SizeKind k : {TextSize, RubySize, NombreSize, NoteSize, RunningHeadsSize})
        EXPECT_EQ(a.GetSize(k), b.GetSize(k)) << k;
    if (!marginBoxes) return;
    for (BoxKind k : {NoteLayout, NombreLayout, RunningHeadsLayout})
        EXPECT_EQ(a.GetBoxes(k), b.GetBoxes(k)) << k;
}

PageParams BunkoParams() {
    PageParams p;
    p.paperWidth = 21000;
    p.paperHeight = 14800;
    p.lines = 17;
    p.chars = 40;
    p.text = {310, 20};
    p.ruby = {160, 20};
    p.note = {200, 20};
    p.top = p.bottom = p.foreEdge = p.gutter = 1000;
    p.nombreSize = 300;
    p.nombreRightX = 1000;
    p.nombreRightY = 300;
    p.nombreLeftX = 19242;
    p.nombreLeftY = 300;
    p.runningHeadsSize = 300;
    p.runningHeadsX = 2500;
    p.runningHeadsY = 300;
    return p;
}

}  // namespace

TEST(PageParams, BunkoBuiltInValuesReproduceTheBuiltInLayout) {
    Yomibon::Test::TempDir dir;
    CYbBunkoTxtLayout layout;
    layout.ClearBoxes();
    ASSERT_TRUE(ApplyLayoutSettings(layout, BunkoParams(), PageKind::Bunko, dir.path()));
    ExpectSameLayout(layout, CYbBunkoTxtLayout(), true);
    // Without a file name it went to the data folder's Layout/Bunko.lay.
    CYbBunkoTxtLayout saved;
    ASSERT_TRUE(saved.Open(FromFsPath(dir.path() / "Layout" / "Bunko.lay").c_str()));
    ExpectSameLayout(saved, CYbBunkoTxtLayout(), true);

    PageParams filled;
    FillPageParams(CYbBunkoTxtLayout(), PageKind::Bunko, filled);
    EXPECT_EQ(filled, BunkoParams());
}

TEST(PageParams, ShinshoParametersReproduceTheBuiltInTextBoxes) {
    Yomibon::Test::TempDir dir;
    PageParams p;
    FillPageParams(CYbShinShoTate2TxtLayout(), PageKind::Shinsho, p);
    EXPECT_EQ(p.top, 1500);
    EXPECT_EQ(p.bottom, 1000);
    EXPECT_EQ(p.foreEdge, 1000);
    EXPECT_EQ(p.gutter, 800);
    EXPECT_EQ(p.tierGap, 500);
    EXPECT_EQ(p.lines, 17);
    EXPECT_EQ(p.chars, 20);
    EXPECT_EQ(p.nombreLeftX, 18900);
    EXPECT_EQ(p.runningHeadsX, 2500);

    CYbShinShoTate2TxtLayout layout;
    ASSERT_TRUE(ApplyLayoutSettings(layout, p, PageKind::Shinsho, dir.path()));
    ExpectSameLayout(layout, CYbShinShoTate2TxtLayout(), false);
    EXPECT_EQ(layout.GetBoxes(RunningHeadsLayout)[0], (LayoutBox{2500, 300, 10300, 600, 17, 20}));
    EXPECT_EQ(layout.GetBoxes(NoteLayout)[0], (LayoutBox{0, 1500, 1000, 17200, 4, 78}));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Layout" / "ShinshoTate2.lay"));
}

TEST(PageParams, ApplyArithmeticAndSaveTarget) {
    Yomibon::Test::TempDir dir;
    auto file = FromFsPath(dir.path() / "own.lay");
    CYbBunkoTxtLayout layout;
    layout.SetFileName(file);
    PageParams p = BunkoParams();
    p.nombrePlacement = 7;    // out of range: outside
    p.runningHeadsX = 15000;  // beyond half: the box runs from half to x
    p.note = {0, 0};          // guarded divisions
    p.paperWidth = 21001;     // half truncates
    ASSERT_TRUE(ApplyLayoutSettings(layout, p, PageKind::Bunko, dir.path()));
    EXPECT_EQ(layout.GetNumbreFormatType(), 0);
    EXPECT_EQ(layout.GetBoxes(RunningHeadsLayout)[0], (LayoutBox{10500, 300, 15000, 600, 17, 40}));
    EXPECT_EQ(layout.GetBoxes(NoteLayout)[0], (LayoutBox{0, 1000, 1000, 13800, 1000, 12800}));
    EXPECT_EQ(layout.GetBoxes(TextLayout)[0], (LayoutBox{11500, 1000, 20001, 13800, 17, 40}));
    EXPECT_EQ(layout.GetSize(NombreSize), (SizePair{300, 0}));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "own.lay"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "Layout"));
    p.nombrePlacement = 2;
    ApplyLayoutSettings(layout, p, PageKind::Bunko, dir.path());
    EXPECT_EQ(layout.GetNumbreFormatType(), 2);
}

TEST(PageParams, ValidationMarksFailingFieldsInOrder) {
    PageParams p = BunkoParams();
    EXPECT_TRUE(ValidatePageParams(p, PageKind::Bunko).empty());
    p.lines = 0;
    p.chars = -1;
    p.text.size = 0;
    EXPECT_EQ(ValidatePageParams(p, PageKind::Bunko),
              (std::vector<PageField>{PageField::Lines, PageField::Chars, PageField::TextSize}));
    p = BunkoParams();
    p.foreEdge = 10501;
    EXPECT_EQ(ValidatePageParams(p, PageKind::Bunko).front(), PageField::ForeEdge);
    p = BunkoParams();
    p.gutter = 21001;
    EXPECT_EQ(ValidatePageParams(p, PageKind::Bunko), (std::vector<PageField>{PageField::Gutter}));
    p = BunkoParams();
    p.tierGap = 30000;  // only the shinsho dialog has the field
    EXPECT_TRUE(ValidatePageParams(p, PageKind::Bunko).empty());
    EXPECT_EQ(ValidatePageParams(p, PageKind::Shinsho).front(), PageField::TierGap);
    // Margins that leave the text no room are refused as well.
    p = BunkoParams();
    p.top = 7000;
    p.bottom = 7800;
    EXPECT_EQ(ValidatePageParams(p, PageKind::Bunko), (std::vector<PageField>{PageField::Bottom}));
    p = BunkoParams();
    p.gutter = 9500;
    EXPECT_EQ(ValidatePageParams(p, PageKind::Bunko), (std::vector<PageField>{PageField::Gutter}));
}

TEST(PageParams, KindOfTypeAndFillingFromOddLayouts) {
    PageKind kind = PageKind::Shinsho;
    EXPECT_TRUE(PageKindOfType(u"BUNKO 1.0 extra", kind));
    EXPECT_EQ(kind, PageKind::Bunko);
    EXPECT_TRUE(PageKindOfType(u"SHINSHOTATE2 1.0", kind));
    EXPECT_EQ(kind, PageKind::Shinsho);
    EXPECT_FALSE(PageKindOfType(u"Custom 1.0", kind));

    // A bunko dialog on a layout of three text boxes keeps its margins.
    CYbCustomTxtLayout odd;
    odd.ClearBoxes();
    for (int i = 0; i < 3; ++i)
        odd.AddBox(TextLayout, {0, 0, 10, 10, 10, 40});
    odd.SetLineCount(30);
    PageParams p = BunkoParams();
    p.top = 1234;
    FillPageParams(odd, PageKind::Bunko, p);
    EXPECT_EQ(p.top, 1234);
    EXPECT_EQ(p.lines, 10);
    EXPECT_TRUE(odd.GetBoxes(NombreLayout).empty());
    EXPECT_EQ(p.nombreLeftX, 19242);
    odd.ClearBoxes();
    FillPageParams(odd, PageKind::Shinsho, p);  // no boxes: no division by zero
    EXPECT_EQ(p.lines, 10);
}
