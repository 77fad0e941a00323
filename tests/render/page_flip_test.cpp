#include "render/page_flip.h"

#include <gtest/gtest.h>

#include <memory>

#include "layout/document_arranger.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

// A spread whose every row has one colour, so the picture is symmetric about the spine.
CYbBitmap RowColoured(int width, int height, uint32_t base) {
    CYbBitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.pixel(x, y) = base + uint32_t(y % 7) * 0x000F0B05u;
    return b;
}

int Channel(uint32_t p, int shift) {
    return int((p >> shift) & 0xFF);
}

TEST(PageFlip, TablesAtSteepAngleAndShadowRamp) {
    const int h = 960;
    CYbPageFlip::FrameTable t = CYbPageFlip::BuildFrameTable(89, h);
    ASSERT_EQ(t.columns.size(), size_t(2 * h + 1));
    ASSERT_EQ(t.shadow.size(), size_t(2 * h + 1));
    // Edge-on, the turning half is about 1.7 per cent of its width.
    int d = t.compressed;
    EXPECT_NEAR(double(d) / h, 0.01745, 0.0015);
    // Every frame column of the turning half takes samples, nothing beyond it.
    for (int e = h - d + 1; e < h + d; ++e)
        EXPECT_GT(t.columns[size_t(e)].count, 0) << e;
    for (int e = 0; e < h - d; ++e)
        EXPECT_EQ(t.columns[size_t(e)].count, 0) << e;
    // Steep: some 57 source columns per frame column, thinned out to every 4th.
    EXPECT_EQ(t.columns[size_t(h + d / 2)].step, 4);
    EXPECT_EQ(t.columns[size_t(h + d / 2)].count, 57 / 4);
    EXPECT_EQ(t.columns[size_t(h - d / 2)].source, h - t.columns[size_t(h + d / 2)].source + h);
    // The shadow ramp beside it: (h - d) / 10 columns, 50 per cent rising to none at all.
    int n = (h - d) / 10;
    EXPECT_EQ(t.shadow[size_t(h + d)], 50);
    EXPECT_EQ(t.shadow[size_t(h - d)], 50);
    EXPECT_EQ(t.shadow[size_t(h + d + n - 1)], 100);
    EXPECT_EQ(t.shadow[size_t(h - d - n + 1)], 100);
    EXPECT_EQ(t.shadow[size_t(h + d + n)], 0);
    EXPECT_EQ(t.shadow[size_t(h - d - n)], 0);
    EXPECT_LT(t.shadow[size_t(h + d + n / 4)], t.shadow[size_t(h + d + n / 2)]);

    // At 10 degrees the ramp needs a half width of some 600 pixels or more.
    for (int half : {300, 500, 700, 1000}) {
        CYbPageFlip::FrameTable flat = CYbPageFlip::BuildFrameTable(10, half);
        int ramp = (half - flat.compressed) / 10, shaded = 0;
        for (int s : flat.shadow)
            shaded += s > 0;
        EXPECT_EQ(shaded, 2 * ramp) << half;
        EXPECT_EQ(ramp > 0, half >= 700) << half;
        // Near the spine the turning page is a little darker than at its outer edge.
        EXPECT_LT(flat.columns[size_t(half + 1)].brightness, 100);
        const CYbPageFlip::ColumnEntry& outer = flat.columns[size_t(half + flat.compressed - 1)];
        EXPECT_GE(outer.brightness * outer.count, 99);
    }
    // Degenerate paper does no harm.
    EXPECT_EQ(CYbPageFlip::BuildFrameTable(45, 0).columns.size(), 1u);
}

TEST(PageFlip, FramesOfForwardTurnAndMirroredBackwardTurn) {
    const int W = 700, H = 60;
    const MapRect paper{30, 5, 30 + 640, 55};
    const int h = 320;
    CYbBitmap oldSpread = RowColoured(W, H, 0x00604020), newSpread = RowColoured(W, H, 0x00206080);
    CYbPageFlip fwd, bwd;
    EXPECT_FALSE(fwd.step());  // nothing to do yet
    for (auto* f : {&fwd, &bwd}) {
        f->captureOld(oldSpread);
        f->captureNew(newSpread);
        f->prepare(paper, f == &fwd);
    }
    for (int k = 0; k < CYbPageFlip::kFrameCount; ++k) {
        EXPECT_EQ(fwd.frameIndex(), k);
        EXPECT_EQ(fwd.step(), k < 11);
        EXPECT_EQ(bwd.step(), k < 11);
        const CYbBitmap& a = fwd.frame();
        const CYbBitmap& b = bwd.frame();
        // Mirror images about the spine (paper column left + h).
        for (int y = 0; y < H; ++y)
            for (int e = 1; e < 2 * h; ++e)
                if (e != h) {
                    ASSERT_EQ(a.pixel(paper.left + e, y), b.pixel(paper.left + 2 * h - e, y))
                        << "frame " << k << " column " << e << " row " << y;
                }
        // Outside the paper the old spread until half-way, then the new one.
        const CYbBitmap& outside = k < 6 ? oldSpread : newSpread;
        EXPECT_EQ(a.pixel(5, 20), outside.pixel(5, 20));
        EXPECT_EQ(a.pixel(20, 2), outside.pixel(20, 2));
        if (k == 0) {
            // The old spread, its left half turning slightly away over the new one.
            int d = fwd.table(0).compressed;
            int y = 20;
            EXPECT_EQ(a.pixel(paper.left + h + 10, y), oldSpread.pixel(paper.left + h + 10, y));
            EXPECT_EQ(a.pixel(paper.left + 1, y), newSpread.pixel(paper.left + 1, y));
            uint32_t outer = a.pixel(paper.left + h - d + 2, y);
            uint32_t inner = a.pixel(paper.left + h - 1, y);
            uint32_t was = oldSpread.pixel(paper.left + h - 1, y);
            EXPECT_EQ(outer, was);                            // the outer edge at full brightness
            EXPECT_LT(Channel(inner, 16), Channel(was, 16));  // shaded at the spine
            EXPECT_GE(Channel(inner, 16), Channel(was, 16) * 79 / 100);
            EXPECT_GT(d, h * 95 / 100);
            EXPECT_LT(d, h);
        }
    }
    EXPECT_FALSE(fwd.inProgress());
    EXPECT_FALSE(fwd.step());
    // The last frame still shows the arriving right half a little short of flat.
    const CYbBitmap& last = fwd.frame();
    EXPECT_EQ(last.pixel(paper.left + 5, 30), newSpread.pixel(paper.left + 5, 30));
    EXPECT_EQ(last.pixel(paper.left + 2 * h - 2, 30), oldSpread.pixel(paper.left + 2 * h - 2, 30));
}

TEST(PageFlip, SamplesStayOnThePaper) {
    // Paper hanging off every side of the bitmap, and spreads of unequal size.
    CYbBitmap a = RowColoured(100, 40, 0x00101010), b = RowColoured(100, 40, 0x00404040);
    CYbPageFlip f;
    f.captureOld(a);
    f.captureNew(b);
    f.prepare({-37, -5, 150, 60}, true);
    int steps = 0;
    while (f.step())
        ++steps;
    EXPECT_EQ(steps, 11);
    CYbBitmap target(50, 50);
    f.draw(target, {-10, -10, 200, 200}, -20, 30);  // clipped on every side
    f.captureNew(CYbBitmap(10, 10));
    f.prepare({0, 0, 100, 40}, false);
    EXPECT_FALSE(f.step());
    EXPECT_FALSE(f.inProgress());
}

// A document in the paperback layout on a canvas.
struct Reader {
    CYbTxtParam param;
    CYbDocumentArranger* arranger = nullptr;
    std::unique_ptr<CYbTxtDocument> doc;
    std::unique_ptr<CYbPageCanvas> canvas;

    Reader() {
        std::u16string text = u"題名\r\n著者\r\n\r\n";
        for (int i = 0; i < 240; ++i)
            text +=
                u"　ある日の暮方の事である。一人の下人《げにん》が、羅生門《らしょうもん》"
                u"の下で雨やみを待っていた。\r\n";
        auto a = std::make_unique<CYbDocumentArranger>();
        arranger = a.get();
        doc = std::make_unique<CYbTxtDocument>(param, std::move(a));
        EXPECT_TRUE(doc->openText(text));
        canvas = std::make_unique<CYbPageCanvas>(param);
        canvas->setDocument(doc.get(), &arranger->layout());
        canvas->resize(1000, 700);
    }
    CYbBitmap painted() {
        CYbBitmap out(1000, 700);
        canvas->paintCanvas(out, {0, 0, 1000, 700});
        return out;
    }
};

bool SamePixels(const CYbBitmap& a, const CYbBitmap& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.bits(), a.bits() + size_t(a.width()) * size_t(a.height()), b.bits());
}

TEST(PageFlip, CanvasTurnsOnlyOneSpreadAtATime) {
    Reader r;
    ASSERT_GE(r.doc->getPageCount(), 10);
    EXPECT_EQ(r.canvas->showPage(0), 0);
    EXPECT_FALSE(r.canvas->flipping());
    CYbBitmap spread0 = r.painted();
    // A jump of two spreads, or to the last page, draws at once.
    EXPECT_EQ(r.canvas->showPage(4), 4);
    EXPECT_FALSE(r.canvas->flipping());
    EXPECT_EQ(r.canvas->showPage(r.doc->getPageCount()), r.doc->getPageCount() & ~1);
    EXPECT_FALSE(r.canvas->flipping());
    EXPECT_EQ(r.canvas->showPage(r.doc->getPageCount() + 2), r.doc->getPageCount() & ~1);
    EXPECT_FALSE(r.canvas->flipping());
    EXPECT_EQ(r.canvas->showPage(4), 4);
    EXPECT_FALSE(r.canvas->flipping());
    CYbBitmap spread4 = r.painted();

    // One spread back: an odd page counts as its spread.
    EXPECT_EQ(r.canvas->showPage(3), 2);
    ASSERT_TRUE(r.canvas->flipping());
    CYbBitmap spread2 = r.canvas->bitmap();
    CYbBitmap first = r.painted();
    EXPECT_FALSE(SamePixels(first, spread4));
    EXPECT_FALSE(SamePixels(first, spread2));
    int ticks = 0;
    while (r.canvas->flipStep()) {
        ++ticks;
        if (r.canvas->flipping()) {
            EXPECT_FALSE(SamePixels(r.painted(), spread2));
        }
    }
    EXPECT_EQ(ticks, 11);
    EXPECT_FALSE(r.canvas->flipStep());
    // After the last frame the plain new spread, pixel for pixel.
    EXPECT_TRUE(SamePixels(r.painted(), spread2));

    // A turn interrupted by a direct draw stops at once.
    r.canvas->showPage(0);
    EXPECT_TRUE(r.canvas->flipping());
    EXPECT_TRUE(SamePixels(r.canvas->bitmap(), spread0));
    r.canvas->drawPage(0);
    EXPECT_FALSE(r.canvas->flipping());
    EXPECT_TRUE(SamePixels(r.painted(), spread0));
}

TEST(PageFlip, IntervalFromSettings) {
    Reader r;
    EXPECT_EQ(r.canvas->flipInterval(), 30);
    int v = 55;
    r.param.SetPoints(u"PageFlipInterval", &v, 1);
    EXPECT_EQ(r.canvas->flipInterval(), 55);
    v = 0;
    r.param.SetPoints(u"PageFlipInterval", &v, 1);
    EXPECT_EQ(r.canvas->flipInterval(), 0);
    v = 40;
    r.param.SetPoints(u"PageFlipInterval", &v, 1);
    int off = 0;
    r.param.SetPoints(u"PageFlip", &off, 1);
    EXPECT_EQ(r.canvas->flipInterval(), 0);
}

}  // namespace
}  // namespace Yomibon
