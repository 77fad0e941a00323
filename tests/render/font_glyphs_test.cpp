// The glyphs a font hands to vector output: the same faces, ids and placements as its ink.
#include <gtest/gtest.h>

#include "platform/font.h"

namespace Yomibon {
namespace {

constexpr int kEm = 100;

LogFont Face(bool vertical, std::u16string face = u"@IPAex明朝") {
    LogFont f;
    f.lfHeight = kEm;
    f.lfFaceName = vertical ? face : face.substr(face[0] == u'@' ? 1 : 0);
    f.lfEscapement = f.lfOrientation = vertical ? 2700 : 0;
    return f;
}

TEST(FontGlyphs, UprightRotatedAndHorizontalPlacements) {
    auto v = CreateFont(Face(true));
    ASSERT_TRUE(v);
    // "漢" upright, "A" turned a quarter clockwise, in a column: the second below the first.
    auto glyphs = v->glyphs(10, 20, u"漢A");
    ASSERT_EQ(glyphs.size(), 2u);
    const FontGlyph& kan = glyphs[0];
    EXPECT_TRUE(kan.face);
    EXPECT_NE(kan.id, 0u);
    EXPECT_EQ(kan.cluster, 0u);
    EXPECT_DOUBLE_EQ(kan.xx, kEm);
    EXPECT_DOUBLE_EQ(kan.yy, kEm);
    EXPECT_DOUBLE_EQ(kan.yx, 0);
    EXPECT_NEAR(kan.x0, 10, 5);               // a full-width character fills its cell
    EXPECT_NEAR(kan.y0, 20 + kEm * 0.88, 3);  // the baseline
    const FontGlyph& a = glyphs[1];
    EXPECT_EQ(a.cluster, 1u);
    EXPECT_DOUBLE_EQ(a.xx, 0);
    EXPECT_DOUBLE_EQ(a.xy, -kEm);
    EXPECT_DOUBLE_EQ(a.yx, kEm);
    EXPECT_GT(a.y0, 20 + kEm - 1);  // below the first cell
    EXPECT_GT(a.x0, 10);            // the baseline inside the column

    auto h = CreateFont(Face(false));
    auto flat = h->glyphs(0, 0, u"AB");
    ASSERT_EQ(flat.size(), 2u);
    EXPECT_DOUBLE_EQ(flat[0].xx, kEm);
    EXPECT_DOUBLE_EQ(flat[0].xy, 0);
    EXPECT_GT(flat[1].x0, flat[0].x0);  // side by side
    EXPECT_DOUBLE_EQ(flat[1].y0, flat[0].y0);
    EXPECT_FALSE(h->syntheticBold());
}

TEST(FontGlyphs, VerticalFormsAreOtherGlyphs) {
    auto v = CreateFont(Face(true));
    auto h = CreateFont(Face(false));
    // The ideographic comma takes its vertical form in a column.
    auto down = v->glyphs(0, 0, u"、");
    auto across = h->glyphs(0, 0, u"、");
    ASSERT_EQ(down.size(), 1u);
    ASSERT_EQ(across.size(), 1u);
    EXPECT_NE(down[0].id, across[0].id);
    EXPECT_EQ(down[0].face, across[0].face);
    // Nothing is set for an empty text.
    EXPECT_TRUE(v->glyphs(0, 0, u"").empty());
}

TEST(FontGlyphs, BoldWithoutABoldFaceIsSynthesised) {
    LogFont bold = Face(true);
    bold.lfWeight = FW_BOLD;
    auto f = CreateFont(bold);
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->syntheticBold());
}

}  // namespace
}  // namespace Yomibon
