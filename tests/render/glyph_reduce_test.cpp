// The reductions skip empty stretches of the mask and count whole bytes at a time; these
// tests hold them to the plain per-pixel reduction, written out here pixel by pixel, on
// many glyphs, sizes, colours and clipped positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "render/char_4nn_renderer.h"
#include "render/char_8nn_renderer.h"
#include "render/char_lcd_renderer.h"

namespace Yomibon {
namespace {

// The renderers with their tiling row map visible.
class Probe4 : public CYbChar4NNRenderer {
  public:
    using CYbCharKNNRenderer::tiledRow;
};
class Probe8 : public CYbChar8NNRenderer {
  public:
    using CYbCharKNNRenderer::tiledRow;
};
class ProbeLcd : public CYbCharLCDRenderer {
  public:
    using CYbCharKNNRenderer::tiledRow;
};

LogFont Font(int height, bool vertical) {
    LogFont f;
    f.lfHeight = height;
    f.lfFaceName = vertical ? u"@IPAex明朝" : u"IPAex明朝";
    f.lfEscapement = f.lfOrientation = vertical ? 2700 : 0;
    return f;
}

CYbBitmap Patterned(int w, int h) {
    CYbBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.pixel(x, y) = uint32_t(x * 40503 + y * 9973) & 0x00FFFFFF;
    return b;
}

int Bits(const CYbMonoBitmap& m, int row, int first, int count) {
    int n = 0;
    for (int x = first; x < first + count; ++x)
        n += m.get(x, row) ? 1 : 0;
    return n;
}

uint32_t BlendChannel(uint32_t dest, uint32_t colour, unsigned t) {
    if (t == 0) return colour;
    if (t >= 255) return dest;
    return (dest * t + colour * (256 - t)) >> 8;
}

uint32_t BlendPixel(uint32_t p, uint32_t colour, unsigned tr, unsigned tg, unsigned tb) {
    return (BlendChannel((p >> 16) & 0xFF, (colour >> 16) & 0xFF, tr) << 16) |
           (BlendChannel((p >> 8) & 0xFF, (colour >> 8) & 0xFF, tg) << 8) |
           BlendChannel(p & 0xFF, colour & 0xFF, tb);
}

// The page as the reduction must leave it: every pixel of the clipped glyph box counted
// bit by bit from the mask and blended channel by channel.
template <typename Probe>
CYbBitmap Expected(Probe& r, const CYbBitmap& page, int x, int y, int rows, const char16_t* text,
                   int length, bool tiled, bool lcd) {
    CYbBitmap out = page;
    const CYbMonoBitmap* mask = r.glyphMask(text, length);
    if (!mask) return out;
    const int k = r.oversampling(), box = r.glyphBoxWidth();
    const auto& cov = r.coverageTable();
    const uint32_t colour = ColorToPixel(r.getColor());
    for (int i = 0; i < rows; ++i) {
        int py = y + i;
        if (py < 0 || py >= page.height()) continue;
        int g = tiled ? r.tiledRow(i) : i;
        for (int c = 0; c < box; ++c) {
            int px = x + c;
            if (px < 0 || px >= page.width()) continue;
            unsigned t[3];
            for (int ch = 0; ch < 3; ++ch) {
                int shift = lcd ? ch : 0;
                int n = 0;
                for (int s = 0; s < k; ++s)
                    n += Bits(*mask, g * k + s, c * k + shift, k);
                t[ch] = cov[size_t(n)];
            }
            uint32_t& p = out.pixel(px, py);
            if (t[0] >= 255 && t[1] >= 255 && t[2] >= 255) continue;
            p = BlendPixel(p, colour, t[0], t[1], t[2]);
        }
    }
    return out;
}

// Count of pixels that differ, for a readable failure.
int Differences(const CYbBitmap& a, const CYbBitmap& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

const std::u16string kText =
    u"或日の暮方の事である。一人の下人が、羅生門の下で雨やみを待っていた。広い門の下には、"
    u"この男のほかに誰もいない。ただ、所々丹塗の剥げた、大きな円柱に、蟋蟀が一匹とまっている。"
    u"「ー―…‥〜」（）〔〕ABCxyz019ｱｲｳ鬱纏龜𠮷";

// Positions covering the inside, every edge, odd and even columns and rows.
const int kPositions[][2] = {{3, 4},   {10, 11}, {-7, 5},  {-1, -3},  {5, -9},
                             {61, 14}, {14, 44}, {59, 47}, {-12, 40}, {33, -1}};

template <typename Probe>
void CheckGlyphs(int height, bool vertical, uint32_t colour, bool lcd) {
    Probe r;
    r.setColor(colour);
    r.setFont(Font(height, vertical));
    CYbBitmap page = Patterned(72, 60);
    int inked = 0;
    for (size_t i = 0, p = 0; i < kText.size(); ++p) {
        size_t n = (kText[i] >= 0xD800 && kText[i] < 0xDC00) ? 2 : 1;
        const char16_t* text = kText.data() + i;
        i += n;
        const int* at = kPositions[p % std::size(kPositions)];
        CYbBitmap want = Expected(r, page, at[0], at[1], height, text, int(n), false, lcd);
        CYbBitmap got = page;
        r.drawText(got, at[0], at[1], text, int(n));
        ASSERT_EQ(Differences(want, got), 0)
            << "glyph " << int(text[0]) << " height " << height << " at " << at[0] << "," << at[1];
        inked += Differences(want, page) > 0;
    }
    EXPECT_GT(inked, 90);  // the comparison is not between untouched pages
}

TEST(GlyphReduce, FourByFourMatchesThePerPixelReduction) {
    CheckGlyphs<Probe4>(40, true, 0x00202020, false);
    CheckGlyphs<Probe4>(25, true, 0x003060C0, false);
    CheckGlyphs<Probe4>(19, false, 0x00000000, false);
    CheckGlyphs<Probe4>(33, false, 0x00FFFFFF, false);
}

TEST(GlyphReduce, EightByEightMatchesThePerPixelReduction) {
    CheckGlyphs<Probe8>(17, true, 0x00202020, false);
    CheckGlyphs<Probe8>(11, true, 0x0000A0FF, false);
    CheckGlyphs<Probe8>(14, false, 0x00000000, false);
}

TEST(GlyphReduce, LcdMatchesThePerPixelReduction) {
    CheckGlyphs<ProbeLcd>(40, true, 0x00202020, true);
    CheckGlyphs<ProbeLcd>(21, true, 0x00C03010, true);
    CheckGlyphs<ProbeLcd>(30, false, 0x00000000, true);
}

TEST(GlyphReduce, RetainedGlyphsReduceAsFreshOnes) {
    Probe4 fresh, kept;
    for (Probe4* r : {&fresh, &kept}) {
        r->setColor(0x00102030);
        r->setFont(Font(36, true));
    }
    kept.retainGlyphs(kText);
    CYbBitmap page = Patterned(72, 60);
    for (size_t i = 0; i < 40; ++i) {
        CYbBitmap a = page, b = page;
        ASSERT_EQ(fresh.drawText(a, 7, 9, kText.data() + i, 1),
                  kept.drawText(b, 7, 9, kText.data() + i, 1));
        kept.drawText(b, 7, 9, kText.data() + i, 1);  // from the cache the second time
        fresh.drawText(a, 7, 9, kText.data() + i, 1);
        ASSERT_EQ(Differences(a, b), 0) << "glyph " << int(kText[i]);
    }
}

TEST(GlyphReduce, RecentGlyphsAreKeptReducedUntilTheFontChanges) {
    Probe4 r;
    r.setColor(0x00000000);
    r.setFont(Font(40, false));
    CYbBitmap page = Patterned(72, 60);
    std::vector<CYbBitmap> first;
    for (size_t i = 0; i < 40; ++i) {
        first.push_back(page);
        r.drawText(first.back(), 5, 6, kText.data() + i, 1);
    }
    const size_t kept = r.recentGlyphCount();
    EXPECT_GT(kept, 25u);  // distinct characters of the first forty
    for (size_t i = 0; i < 40; ++i) {
        CYbBitmap again = page;
        r.drawText(again, 5, 6, kText.data() + i, 1);
        ASSERT_EQ(Differences(first[i], again), 0) << "glyph " << int(kText[i]);
    }
    EXPECT_EQ(r.recentGlyphCount(), kept);
    r.setProperty(u"FontCentering", u"1");
    EXPECT_EQ(r.recentGlyphCount(), 0u);
    CYbBitmap centred = page;
    r.drawText(centred, 5, 6, u"i", 1);  // a narrow letter moves when centred
    CYbBitmap plain = page;
    r.setProperty(u"FontCentering", u"0");
    r.drawText(plain, 5, 6, u"i", 1);
    EXPECT_GT(Differences(centred, plain), 0);
    r.setFont(Font(30, true));
    EXPECT_EQ(r.recentGlyphCount(), 0u);
}

// The recent glyphs are bounded by their size: a novel's few thousand body characters
// fit, very large ones far fewer.
TEST(GlyphReduce, RecentGlyphsAreBoundedByTheirSize) {
    Probe4 body;
    body.setFont(Font(40, true));
    Probe4 huge;
    huge.setFont(Font(300, true));
    CYbBitmap page = Patterned(64, 64);
    size_t drawn = 0;
    for (char16_t c = 0x4E00; c < 0x4E00 + 3000; ++c)
        drawn += body.drawText(page, 0, 0, &c, 1);
    EXPECT_GT(drawn, 600u);  // the ideographs the installed fonts have
    EXPECT_EQ(body.recentGlyphCount(), drawn);
    // Drawn until the recent glyphs are emptied at their bound.
    size_t most = 0;
    bool emptied = false;
    for (char16_t c = 0x4E00; c < 0x4E00 + 3000 && !emptied; ++c) {
        huge.drawText(page, 0, 0, &c, 1);
        emptied = huge.recentGlyphCount() < most;
        most = std::max(most, huge.recentGlyphCount());
    }
    EXPECT_TRUE(emptied);
    EXPECT_GT(most, 50u);
    EXPECT_LT(most, 600u);
}

template <typename Probe>
void CheckTiled(int height, bool lcd) {
    Probe r;
    r.setColor(0x00404040);
    r.setFont(Font(height, true));
    CYbBitmap page = Patterned(80, 200);
    for (const char16_t* dash : {u"―", u"│", u"ー", u"｜", u"一"}) {
        for (int rows : {height / 2, height, 3 * height + 5, 190}) {
            for (int x : {-3, 4, 61}) {
                CYbBitmap got = page;
                r.drawTextRect(got, x, 3, 40, rows, dash, 1);
                // The row map is set by the draw just made.
                CYbBitmap want = Expected(r, page, x, 3, rows, dash, 1, true, lcd);
                ASSERT_EQ(Differences(want, got), 0)
                    << "glyph " << int(dash[0]) << " rows " << rows << " x " << x;
            }
        }
    }
}

TEST(GlyphReduce, TiledRectanglesMatchThePerPixelReduction) {
    CheckTiled<Probe4>(32, false);
    CheckTiled<Probe8>(15, false);
    CheckTiled<ProbeLcd>(27, true);
}

}  // namespace
}  // namespace Yomibon
