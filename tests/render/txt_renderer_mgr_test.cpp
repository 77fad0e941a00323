#include "render/txt_renderer_mgr.h"

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "settings/txt_param.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

// A 24-bit bottom-up BMP of one colour.
std::string SolidBmp(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    int stride = (w * 3 + 3) & ~3;
    std::string px(size_t(stride * h), '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            px[size_t(y * stride + x * 3)] = char(b);
            px[size_t(y * stride + x * 3 + 1)] = char(g);
            px[size_t(y * stride + x * 3 + 2)] = char(r);
        }
    auto le = [](std::string& s, uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            s.push_back(char((v >> (8 * i)) & 0xFF));
    };
    std::string f = "BM";
    le(f, uint32_t(54 + px.size()), 4);
    le(f, 0, 4);
    le(f, 54, 4);
    le(f, 40, 4);
    le(f, uint32_t(w), 4);
    le(f, uint32_t(h), 4);
    le(f, 1, 2);
    le(f, 24, 2);
    le(f, 0, 4);
    le(f, uint32_t(px.size()), 4);
    le(f, 2835, 4);
    le(f, 2835, 4);
    le(f, 0, 4);
    le(f, 0, 4);
    return f + px;
}

TEST(TxtRendererMgr, RendererClassBySizeAndMode) {
    EXPECT_EQ(ChooseRendererClass(1, 17), u"CYbChar8NNRenderer");
    EXPECT_EQ(ChooseRendererClass(1, 18), u"CYbChar4NNRenderer");
    EXPECT_EQ(ChooseRendererClass(0, 40), u"CYbChar4NNRenderer");
    EXPECT_EQ(ChooseRendererClass(2, 10), u"CYbCharLCDRenderer");
    EXPECT_EQ(ChooseRendererClass(2, 40), u"CYbCharLCDRenderer");
}

TEST(TxtRendererMgr, FontsMakeTwelveRenderersAndReuseThem) {
    CYbTxtParam param;
    CYbTxtRendererMgr mgr(param);
    mgr.setFonts(u"/tmp", u"のをに", {24, 12, 10, 9, 9});
    for (int slot = 0; slot < SLOT_COUNT; ++slot)
        ASSERT_NE(mgr.renderer(slot), nullptr) << slot;
    EXPECT_EQ(mgr.renderer(SLOT_TEXT)->getClassName(), u"CYbChar4NNRenderer");
    EXPECT_EQ(mgr.renderer(SLOT_HALF)->getClassName(), u"CYbChar8NNRenderer");
    EXPECT_EQ(mgr.renderer(SLOT_RUBY)->getClassName(), u"CYbChar8NNRenderer");
    LogFont lf;
    mgr.renderer(SLOT_BOLD)->getFont(&lf);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfEscapement, 2700);
    EXPECT_EQ(lf.lfHeight, 24);
    mgr.renderer(SLOT_HORIZONTAL)->getFont(&lf);
    EXPECT_EQ(lf.lfEscapement, 0);
    EXPECT_NE(lf.lfFaceName.substr(0, 1), u"@");

    CYbCharRenderer* body = mgr.renderer(SLOT_TEXT);
    mgr.setFonts(u"/tmp", u"", {30, 15, 12, 9, 9});
    EXPECT_EQ(mgr.renderer(SLOT_TEXT), body);  // same class: the renderer is kept
    mgr.setAntiAlias(2);
    mgr.setFonts(u"/tmp", u"", {30, 15, 12, 9, 9});
    EXPECT_EQ(mgr.renderer(SLOT_TEXT)->getClassName(), u"CYbCharLCDRenderer");

    mgr.setTextColor(0x0000FF);
    for (int slot = 0; slot <= SLOT_BOLD_HALF_HORIZONTAL; ++slot)
        EXPECT_EQ(mgr.renderer(slot)->getColor(), 0x0000FFu);
    EXPECT_NE(mgr.renderer(SLOT_RUBY)->getColor(), 0x0000FFu);
}

TEST(TxtRendererMgr, BoxLinesAndTheirEdges) {
    CYbTxtParam param;
    CYbTxtRendererMgr mgr(param);
    mgr.setFonts(u"", u"", {24, 12, 10, 9, 9});
    mgr.setTextColor(0x000000);
    CYbBitmap bmp(20, 20);
    bmp.fill(0xFFFFFF);
    ASSERT_TRUE(mgr.drawBoxLines(bmp, 2, 3, 5, 6, {true, true, true, true}));
    // right = left + width + 1, bottom = top + height
    EXPECT_EQ(bmp.pixel(2, 3), 0u);
    EXPECT_EQ(bmp.pixel(8, 3), 0u);
    EXPECT_EQ(bmp.pixel(9, 3), 0xFFFFFFu);
    EXPECT_EQ(bmp.pixel(2, 9), 0u);
    EXPECT_EQ(bmp.pixel(8, 8), 0u);
    EXPECT_EQ(bmp.pixel(5, 6), 0xFFFFFFu);
    // Only the asked sides.
    CYbBitmap open(20, 20);
    open.fill(0xFFFFFF);
    mgr.drawBoxLines(open, 2, 3, 5, 6, {true, false, true, false});
    EXPECT_EQ(open.pixel(2, 5), 0xFFFFFFu);
    EXPECT_EQ(open.pixel(4, 3), 0u);
    // Clipped at the last column; skipped when it starts left of 0 or reaches the bottom.
    CYbBitmap edge(10, 10);
    edge.fill(0xFFFFFF);
    EXPECT_TRUE(mgr.drawBoxLines(edge, 5, 1, 20, 3, {true, true, true, true}));
    EXPECT_EQ(edge.pixel(9, 1), 0u);
    EXPECT_EQ(edge.pixel(9, 2), 0u);
    CYbBitmap untouched(10, 10);
    untouched.fill(0xFFFFFF);
    EXPECT_TRUE(mgr.drawBoxLines(untouched, -1, 1, 3, 3, {true, true, true, true}));
    EXPECT_TRUE(mgr.drawBoxLines(untouched, 1, 5, 3, 5, {true, true, true, true}));
    EXPECT_TRUE(mgr.drawBoxLines(untouched, 1, 1, 0, 3, {true, true, true, true}));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(untouched.pixel(x, y), 0xFFFFFFu);
}

TEST(TxtRendererMgr, PictureCacheKeepsTheMostUsed) {
    PictureCache cache;
    for (int i = 0; i < 6; ++i)
        cache[std::u16string(1, char16_t(u'a' + i))].uses = 10 - i;
    cache[u"b"].uses = 0;
    EvictLeastUsed(cache, 4);
    ASSERT_EQ(cache.size(), 4u);
    EXPECT_EQ(cache.count(u"b"), 0u);
    EXPECT_EQ(cache.count(u"f"), 0u);
    EXPECT_EQ(cache.count(u"a"), 1u);

    auto w = MakeWhitenessTable(20);
    EXPECT_EQ(w[0], 255);    // black stays opaque
    EXPECT_EQ(w[767], 1);    // white all but vanishes
    EXPECT_EQ(w[384], 153);  // 1.2 * (255 - 127)
}

TEST(TxtRendererMgr, PicturesDrawnFittedAndStretchedThroughTheCache) {
    ::Yomibon::Test::TempDir dir;
    for (int i = 0; i < 6; ++i)
        ::Yomibon::Test::WriteFile(dir.path() / ("p" + std::to_string(i) + ".bmp"),
                                   SolidBmp(40, 20, 0, 0, 200));
    CYbTxtParam param;
    CYbTxtRendererMgr mgr(param);
    mgr.setPictureRenderers(FromFsPath(dir.path()), u"");
    CYbBitmap page(100, 100);
    page.fill(0xFFFFFF);
    // Fitted: 40x20 into 50x50 becomes 50x25, centred vertically.
    ASSERT_TRUE(mgr.drawPictureTransparent(page, u"p0.bmp", 0, 0, 50, 50));
    EXPECT_EQ(page.pixel(25, 25) & 0xFFFFFF, 0x0000C7u);  // blue, blended by >> 8
    EXPECT_EQ(page.pixel(25, 5), 0xFFFFFFu);
    ASSERT_EQ(mgr.pictureCache().size(), 1u);
    EXPECT_EQ(mgr.pictureCache().at(u"p0.bmp").bitmap.width(), 50);
    // Stretched: fills the whole box.
    ASSERT_TRUE(mgr.drawPicture(page, u"p1.bmp", 50, 50, 50, 50));
    EXPECT_EQ(page.pixel(99, 50) & 0xFFFFFF, 0x0000C7u);
    // A missing file draws nothing.
    EXPECT_FALSE(mgr.drawPictureTransparent(page, u"missing.bmp", 0, 0, 10, 10));
    // With five cached, a sixth evicts down to four before it is added.
    for (int i = 2; i < 5; ++i)
        mgr.drawPictureTransparent(page, u"p" + std::u16string(1, char16_t(u'0' + i)) + u".bmp", 0,
                                   0, 20, 20);
    mgr.drawPictureTransparent(page, u"p0.bmp", 0, 0, 50, 50);  // used twice now
    ASSERT_EQ(mgr.pictureCache().size(), 5u);
    mgr.drawPictureTransparent(page, u"p5.bmp", 0, 0, 20, 20);
    EXPECT_EQ(mgr.pictureCache().size(), 5u);
    EXPECT_EQ(mgr.pictureCache().count(u"p0.bmp"), 1u);
    EXPECT_EQ(mgr.pictureCache().count(u"p5.bmp"), 1u);
    // A different box size loads the picture again.
    mgr.drawPictureTransparent(page, u"p0.bmp", 0, 0, 80, 80);
    EXPECT_EQ(mgr.pictureCache().at(u"p0.bmp").bitmap.width(), 80);
}

TEST(TxtRendererMgr, WebPictureThroughThePlugInBesideTheProgram) {
    ::Yomibon::Test::TempDir dir;
    std::filesystem::copy_file(::Yomibon::Test::DataDir() / "pictures" / "lossy_green.webp",
                               dir.path() / "fig01.webp");
    CYbTxtParam param;
    CYbTxtRendererMgr mgr(param);
    mgr.setPictureRenderers(FromFsPath(dir.path()), u"");
    CYbBitmap page(40, 40);
    page.fill(0xFFFFFF);
    ASSERT_TRUE(mgr.drawPictureTransparent(page, u"fig01.webp", 0, 0, 40, 40));
    uint32_t p = page.pixel(20, 20);
    EXPECT_GT((p >> 8) & 0xFF, 100u);  // green
    EXPECT_LT((p >> 16) & 0xFF, 100u);
}

}  // namespace
}  // namespace Yomibon
