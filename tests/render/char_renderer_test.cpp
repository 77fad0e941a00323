#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "emf_builder.h"
#include "platform/paths.h"
#include "render/char_4nn_renderer.h"
#include "render/char_8nn_renderer.h"
#include "render/char_lcd_renderer.h"
#include "render/emf_glyph_store.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace yt = ::Yomibon::Test;

LogFont Font(int height, bool vertical) {
    LogFont f;
    f.lfHeight = height;
    f.lfFaceName = vertical ? u"@IPAex明朝" : u"IPAex明朝";
    f.lfEscapement = f.lfOrientation = vertical ? 2700 : 0;
    return f;
}

std::unique_ptr<CYbCharKNNRenderer> Make(int kind, int height, bool vertical = true) {
    std::unique_ptr<CYbCharKNNRenderer> r;
    if (kind == 0) r = std::make_unique<CYbChar4NNRenderer>();
    if (kind == 1) r = std::make_unique<CYbChar8NNRenderer>();
    if (kind == 2) r = std::make_unique<CYbCharLCDRenderer>();
    r->setColor(0x00000000);
    r->setFont(Font(height, vertical));
    return r;
}

CYbBitmap Patterned(int w, int h) {
    CYbBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.pixel(x, y) = 0xA5000000u | uint32_t(x * 40503 + y * 9973);
    return b;
}

bool SamePixels(const CYbBitmap& a, const CYbBitmap& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.bits(), a.bits() + size_t(a.width()) * a.height(), b.bits());
}

// Columns [x0, x1) and rows [y0, y1) that differ from white.
struct Box {
    int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
};
Box Ink(const CYbBitmap& b) {
    Box box;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if ((b.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                box.x0 = std::min(box.x0, x);
                box.y0 = std::min(box.y0, y);
                box.x1 = std::max(box.x1, x + 1);
                box.y1 = std::max(box.y1, y + 1);
            }
    return box;
}

bool RowHasInk(const CYbBitmap& b, int y) {
    for (int x = 0; x < b.width(); ++x)
        if ((b.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return true;
    return false;
}

CYbBitmap White(int w, int h) {
    CYbBitmap b(w, h);
    b.fill(0x00FFFFFF);
    return b;
}

// Glyph files in a folder of their own, made the current folder of the renderers.
class GlyphFolder {
  public:
    GlyphFolder() { SetGlyphCurrentDirectory(FromFsPath(dir_.path())); }
    ~GlyphFolder() { SetGlyphCurrentDirectory(u""); }
    void add(const std::string& name, const std::string& bytes) {
        yt::WriteFile(dir_.path() / (name + ".emf"), bytes);
    }
    const std::filesystem::path& path() const { return dir_.path(); }

  private:
    yt::TempDir dir_;
};

TEST(CharRendererTables, CoverageTablesFollowTheGammaCurve) {
    const std::vector<uint8_t> expected4 = {255, 238, 220, 203, 186, 169, 152, 135, 119,
                                            103, 87,  71,  55,  40,  26,  12,  0};
    EXPECT_EQ(BuildCoverageTable(4), expected4);
    auto t8 = BuildCoverageTable(8);
    ASSERT_EQ(t8.size(), 65u);
    EXPECT_EQ(t8[0], 255);
    EXPECT_EQ(t8[64], 0);
    for (size_t i = 1; i < t8.size(); ++i)
        EXPECT_LT(t8[i], t8[i - 1]);
    CYbChar4NNRenderer four;
    four.setFont(Font(20, true));
    EXPECT_EQ(four.coverageTable(), expected4);
    CYbCharLCDRenderer lcd;
    lcd.setFont(Font(20, true));
    EXPECT_EQ(lcd.coverageTable(), expected4);
    EXPECT_EQ(BitCounts(BitWindow::High)[0xFF], 4);
    EXPECT_EQ(BitCounts(BitWindow::Mid1)[0xFF], 4);
    EXPECT_EQ(BitCounts(BitWindow::Low3)[0x0F], 3);
    EXPECT_EQ(BitCounts(BitWindow::Top2)[0x80], 1);
    EXPECT_EQ(BitCounts(BitWindow::All)[0xA5], 4);
}

TEST(CharRenderer, FullBlockWritesTextColourAndEmptyBlockLeavesThePixel) {
    GlyphFolder folder;
    folder.add("yb_full", yt::EmfBuilder().solidBrush().rect(0, 0, 1000, 1000).bytes());
    folder.add("yb_corner", yt::EmfBuilder().solidBrush().rect(0, 0, 250, 250).bytes());
    for (int kind = 0; kind < 3; ++kind) {
        auto r = Make(kind, 20);
        r->setColor(0x00336699);
        const uint32_t colour = ColorToPixel(0x00336699);
        CYbBitmap before = Patterned(60, 60), target = before;
        ASSERT_TRUE(r->drawText(target, 10, 10, u"yb_full", 0)) << kind;
        // LCD's blue and green windows reach past the last column.
        int columns = kind == 2 ? 18 : 20;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                bool inside = x >= 10 && x < 10 + columns && y >= 10 && y < 30;
                bool outside = x < 10 || x >= 30 || y < 10 || y >= 30;
                if (inside) {
                    ASSERT_EQ(target.pixel(x, y), colour) << kind << " at " << x << "," << y;
                }
                if (outside) {
                    ASSERT_EQ(target.pixel(x, y), before.pixel(x, y)) << kind;
                }
            }
        target = before;
        ASSERT_TRUE(r->drawText(target, 10, 10, u"yb_corner", 0));
        EXPECT_EQ(target.pixel(10, 10), colour) << kind;
        for (int y = 18; y < 30; ++y)
            for (int x = 18; x < 30; ++x)
                ASSERT_EQ(target.pixel(x, y), before.pixel(x, y));
    }
}

TEST(CharRenderer, GlyphPartlyOutsideTheBitmapDrawsItsVisiblePart) {
    for (int kind = 0; kind < 3; ++kind) {
        auto r = Make(kind, 24);
        CYbBitmap whole = White(64, 64), clipped = White(64, 64);
        ASSERT_TRUE(r->drawString(whole, 5, 7, u"漢"));
        ASSERT_TRUE(r->drawString(clipped, -3, -4, u"漢"));
        for (int y = 0; y + 11 < 64; ++y)
            for (int x = 0; x + 8 < 64; ++x)
                ASSERT_EQ(clipped.pixel(x, y), whole.pixel(x + 8, y + 11)) << x << "," << y;
        EXPECT_NE(Ink(clipped).x1, -1);
        CYbBitmap untouched = White(64, 64);
        EXPECT_FALSE(r->drawString(untouched, 64, 0, u"漢"));
        EXPECT_FALSE(r->drawString(untouched, 0, 64, u"漢"));
        EXPECT_FALSE(r->drawString(untouched, -24, 0, u"漢"));
        EXPECT_FALSE(r->drawString(untouched, 0, -100, u"漢"));
        EXPECT_TRUE(SamePixels(untouched, White(64, 64)));
    }
}

TEST(CharRenderer, UnknownGlyphNameFailsAndLeavesTheTargetUntouched) {
    GlyphFolder folder;
    auto r = Make(0, 30);
    CYbBitmap before = Patterned(50, 50), target = before;
    EXPECT_FALSE(r->drawText(target, 0, 0, u"yb_no_such_glyph", 0));
    EXPECT_FALSE(r->drawText(target, 0, 0, u"yb_no_such_glyph", -1));
    EXPECT_FALSE(r->drawText(target, 0, 0, u"../etc/passwd", 0));
    EXPECT_FALSE(r->drawText(target, 0, 0, nullptr, 0));
    EXPECT_TRUE(SamePixels(target, before));
    // A metafile with a palette is refused the same way.
    folder.add("yb_palette", yt::EmfBuilder().palette(2).solidBrush().rect(0, 0, 9, 9).bytes());
    EXPECT_FALSE(r->drawText(target, 0, 0, u"yb_palette", 0));
    EXPECT_TRUE(SamePixels(target, before));
}

TEST(CharRenderer, RepeatMarksHaveBuiltInReplacements) {
    GlyphFolder folder;  // no glyph files here, nor in the data folder
    auto r = Make(0, 40);
    CYbBitmap upper = White(40, 40), voiced = White(40, 40), lower = White(40, 40);
    ASSERT_TRUE(r->drawGlyph(upper, 0, 0, u"／"));
    ASSERT_TRUE(r->drawGlyph(voiced, 0, 0, u"／″"));
    ASSERT_TRUE(r->drawGlyph(lower, 0, 0, u"＼"));
    Box u = Ink(upper), l = Ink(lower);
    ASSERT_GE(u.x1, 0);
    ASSERT_GE(l.x1, 0);
    EXPECT_FALSE(SamePixels(upper, voiced));
    // The upper half runs down to the cell's foot, the lower half starts at its head, so
    // the two halves join across the boundary between their cells.
    EXPECT_GE(u.y1, 38);
    EXPECT_LE(l.y0, 2);
}

TEST(CharRenderer, FontSpacingEnlargesTheOversampledFontAndShiftsIt) {
    auto r = Make(0, 20);
    EXPECT_EQ(r->oversampledFont().lfHeight, 81);
    EXPECT_EQ(r->spacingMargin(), 0);
    EXPECT_EQ(r->glyphBoxWidth(), 20);
    CYbBitmap plain = White(20, 20);
    r->drawString(plain, 0, 0, u"口");
    ASSERT_TRUE(r->setProperty(u"FontSpacing", u"1.2"));
    EXPECT_EQ(r->oversampledFont().lfHeight, 97);
    // (int)(80 * 0.2 * 0.5) + 1, where 0.2 is 1.2 - 1 in binary: 7.99... + 1.
    EXPECT_EQ(r->spacingMargin(), 8);
    std::u16string value;
    ASSERT_TRUE(r->getProperty(u"FontSpacing", value));
    EXPECT_EQ(value, u"1.2");
    CYbBitmap spaced = White(20, 20);
    r->drawString(spaced, 0, 0, u"口");
    Box a = Ink(plain), b = Ink(spaced);
    EXPECT_GT(b.x1 - b.x0, a.x1 - a.x0);
    EXPECT_GT(b.y1 - b.y0, a.y1 - a.y0);
    // Centred across the column: the enlargement spreads to both sides.
    EXPECT_LE(b.x0, a.x0);
    EXPECT_GE(b.x1, a.x1);
    ASSERT_TRUE(r->setProperty(u"FontSpacing", u"0"));
    EXPECT_EQ(r->oversampledFont().lfHeight, 81);
    EXPECT_EQ(r->spacingMargin(), 0);
    // An odd height gives an even glyph box.
    r->setFont(Font(-21, true));
    EXPECT_EQ(r->glyphBoxWidth(), 22);
    EXPECT_EQ(r->oversampledFont().lfHeight, 85);
}

TEST(CharRenderer, RetainedGlyphsAreCachedAndDrawTheSame) {
    auto cached = Make(0, 24), fresh = Make(0, 24);
    cached->retainGlyphs(u"漢字漢\U0002000B");
    EXPECT_EQ(cached->cachedGlyphCount(), 3u);
    for (int pass = 0; pass < 2; ++pass) {
        CYbBitmap a = White(30, 30), b = White(30, 30);
        ASSERT_TRUE(cached->drawString(a, 2, 3, u"漢"));
        ASSERT_TRUE(fresh->drawString(b, 2, 3, u"漢"));
        EXPECT_TRUE(SamePixels(a, b));
    }
    cached->retainGlyphs(u"字");
    EXPECT_EQ(cached->cachedGlyphCount(), 1u);
    cached->setFont(Font(24, true));
    EXPECT_EQ(cached->cachedGlyphCount(), 0u);
}

TEST(CharRenderer, TextRectRepeatsTheGlyphFromItsSecondRow) {
    GlyphFolder folder;
    // A stem the whole height with a wider head: every row differs from the first.
    folder.add("yb_stem", yt::EmfBuilder()
                              .solidBrush()
                              .rect(0, 0, 200, 1000)
                              .rect(200, 0, 700, 260)
                              .rect(200, 0, 900, 40)
                              .bytes());
    for (int kind = 0; kind < 3; ++kind) {
        auto r = Make(kind, 20);
        CYbBitmap one = White(20, 20), tiled = White(20, 70);
        ASSERT_TRUE(r->drawText(one, 0, 0, u"yb_stem", 0));
        ASSERT_TRUE(r->drawTextRect(tiled, 0, 0, 5, 70, u"yb_stem", 0));
        for (int i = 0; i < 70; ++i) {
            int g = i < 20 ? i : 1 + (i - 20) % 19;
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(tiled.pixel(x, i), one.pixel(x, g)) << kind << " row " << i;
        }
        // Clipped at the top, the rows go on where they would have been.
        CYbBitmap clipped = White(20, 40);
        ASSERT_TRUE(r->drawTextRect(clipped, 0, -30, 20, 70, u"yb_stem", 0));
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(clipped.pixel(x, y), tiled.pixel(x, y + 30));
        // The shipped solid side line tiles without a gap.
        CYbBitmap line = White(20, 100);
        ASSERT_TRUE(r->drawTextRect(line, 0, 0, 20, 100, u"傍線", 0));
        for (int y = 0; y < 100; ++y)
            ASSERT_TRUE(RowHasInk(line, y)) << kind << " row " << y;
    }
}

TEST(CharRenderer, StretchedDashIsOneUnbrokenRule) {
    for (int kind = 0; kind < 3; ++kind) {
        auto r = Make(kind, 24);
        CYbBitmap dash = White(24, 24 * 4);
        ASSERT_TRUE(r->drawTextRect(dash, 0, 0, 24, 24 * 4, u"―", 1));
        Box k = Ink(dash);
        ASSERT_LT(k.y0, 4);
        for (int y = k.y0; y < 24 * 4; ++y)
            ASSERT_TRUE(RowHasInk(dash, y)) << kind << " " << y;
    }
}

TEST(CharRenderer, PropertiesAndClassNames) {
    GlyphFolder folder;
    CYbChar4NNRenderer four;
    CYbChar8NNRenderer eight;
    CYbCharLCDRenderer lcd;
    EXPECT_EQ(four.getClassName(), u"CYbChar4NNRenderer");
    EXPECT_EQ(eight.getClassName(), u"CYbChar8NNRenderer");
    EXPECT_EQ(lcd.getClassName(), u"CYbCharLCDRenderer");
    EXPECT_EQ(eight.oversampling(), 8);
    std::u16string value;
    ASSERT_TRUE(four.getProperty(u"CurDir", value));
    EXPECT_EQ(value, FromFsPath(folder.path()));
    ASSERT_TRUE(four.setProperty(u"CurDir", u""));
    ASSERT_TRUE(four.getProperty(u"CurDir", value));
    EXPECT_EQ(value, FromFsPath(std::filesystem::current_path()));
    EXPECT_TRUE(four.setProperty(u"DataDir", u"/nowhere"));
    EXPECT_FALSE(four.getProperty(u"DataDir", value));
    EXPECT_EQ(GlyphDataDirectory(), u"/nowhere");
    SetGlyphDataDirectory(u"");
    EXPECT_FALSE(four.setProperty(u"Colour", u"1"));
    EXPECT_FALSE(four.getProperty(u"Colour", value));
    ASSERT_TRUE(four.getProperty(u"FontCentering", value));
    EXPECT_EQ(value, u"0");
    four.setColor(0x00112233);
    EXPECT_EQ(four.getColor(), 0x00112233u);
    LogFont font;
    EXPECT_EQ(four.getFont(&font), nullptr);
    four.setFont(Font(30, false));
    EXPECT_NE(four.getFont(&font), nullptr);
    EXPECT_EQ(font, Font(30, false));
    // Centring moves a narrow character of a horizontal font to the middle of its half.
    CYbBitmap plain = White(30, 30), centred = White(30, 30);
    four.setColor(0);
    four.drawString(plain, 0, 0, u"i");
    ASSERT_TRUE(four.setProperty(u"FontCentering", u"1"));
    ASSERT_TRUE(four.getProperty(u"FontCentering", value));
    EXPECT_EQ(value, u"1");
    four.drawString(centred, 0, 0, u"i");
    EXPECT_GT(Ink(centred).x0, Ink(plain).x0);
}

TEST(Bitmap, CreateKeepsContentsAtTheSameSize) {
    CYbBitmap b(8, 4);
    b.pixel(3, 2) = 0x00123456;
    b.create(8, 4);
    EXPECT_EQ(b.pixel(3, 2), 0x00123456u);
    EXPECT_EQ(b.stride(), 32);
    b.create(9, 4);
    EXPECT_EQ(b.pixel(3, 2), 0u);
    CYbMonoBitmap m(64, 2);
    EXPECT_EQ(m.stride(), 8);
    m.set(9, 1, true);
    EXPECT_EQ(m.row(1)[1], 0x40);
    EXPECT_TRUE(m.hasInk());
    m.create(64, 2);
    EXPECT_TRUE(m.get(9, 1));
    EXPECT_EQ(ColorToPixel(0x00FF8040), 0x004080FFu);
}

}  // namespace
}  // namespace Yomibon
