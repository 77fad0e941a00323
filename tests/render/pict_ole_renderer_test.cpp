#include "render/pict_ole_renderer.h"

#include "platform/paths.h"

#include <png.h>

#include <gtest/gtest.h>

#include "render/pict_test_files.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace Files = Yomibon::Test;
using Yomibon::Test::Pixel;

constexpr uint32_t kRed = Pixel(220, 30, 40);
constexpr uint32_t kMark = 0x00123456;

// A width x height PNG of one colour.
std::string SolidPng(int width, int height, uint32_t pixel) {
    std::vector<uint8_t> rows;
    for (int i = 0; i < width * height; ++i)
        rows.insert(rows.end(), {uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)});
    return Files::MakePng(width, height, PNG_COLOR_TYPE_RGB, 8, rows);
}

class PictOleRendererTest : public ::testing::Test {
  protected:
    void SetUp() override { renderer.setProperty(u"CurDir", FromFsPath(dir.path())); }
    void Write(const char* name, const std::string& bytes) {
        Files::WriteFile(dir.path() / name, bytes);
    }
    Files::TempDir dir;
    CYbPictOleRenderer renderer;
};

TEST_F(PictOleRendererTest, NamesFiltersAndCurrentDirectory) {
    EXPECT_EQ(renderer.getClassName(), u"CYbPictOleRenderer");
    std::vector<PictFileFilter> filters;
    renderer.getFileFilters(filters);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0], PictFileFilter(u"*.jpg;*.jpeg", u"Jpeg File"));
    EXPECT_EQ(filters[1], PictFileFilter(u"*.png", u"PNG File"));
    std::u16string value;
    EXPECT_TRUE(renderer.getProperty(u"CurDir", value));
    EXPECT_EQ(value, FromFsPath(dir.path()));
    CYbPictOleRenderer fresh;
    EXPECT_TRUE(fresh.getProperty(u"CurDir", value));
    EXPECT_EQ(value, FromFsPath(std::filesystem::current_path()));
    EXPECT_FALSE(fresh.setProperty(u"PluginDir", u"/x"));
    EXPECT_FALSE(fresh.getProperty(u"DataDir", value));
}

TEST_F(PictOleRendererTest, CanLoadByNameForPngAndByContentOtherwise) {
    Write("fake.png", "not a png at all");
    Write("fake.jpg", "not a jpeg at all");
    Write("picture.dat", Files::MakeBmp24(2, 1, {1, 2, 3, 4, 5, 6}));
    Write("sub/real.PNG", SolidPng(3, 3, kRed));
    EXPECT_TRUE(renderer.canLoad(u"fake.png"));  // not decoded for the test
    EXPECT_FALSE(renderer.canLoad(u"fake.jpg"));
    EXPECT_TRUE(renderer.canLoad(u"picture.dat"));
    EXPECT_TRUE(renderer.canLoad(u"sub/real.PNG"));
    EXPECT_TRUE(renderer.canLoad(u"sub/../sub/./real.PNG"));
    EXPECT_TRUE(renderer.canLoad(FromFsPath(dir.path() / "sub" / "real.PNG")));
    EXPECT_FALSE(renderer.canLoad(u"missing.png"));
    EXPECT_FALSE(renderer.canLoad(u"sub"));
    // The fake PNG fails when it is drawn and leaves the target as it was.
    CYbBitmap target(4, 4);
    target.fill(kMark);
    EXPECT_FALSE(renderer.loadFitted(target, 0, 0, 4, 4, u"fake.png"));
    EXPECT_FALSE(renderer.loadStretched(target, 0, 0, 4, 4, u"fake.jpg"));
    EXPECT_FALSE(renderer.drawToDC(target, 0, 0, 4, 4, u"missing.png"));
    for (int i = 0; i < 16; ++i)
        ASSERT_EQ(target.pixel(i % 4, i / 4), kMark);
    CYbBitmap empty;
    EXPECT_FALSE(renderer.loadFitted(empty, 0, 0, 4, 4, u"fake.png"));
    EXPECT_TRUE(empty.empty());
}

TEST_F(PictOleRendererTest, FittingEnlargesIntoAnEmptyTarget) {
    Write("small.png", SolidPng(10, 5, kRed));
    CYbBitmap target;
    ASSERT_TRUE(renderer.loadFitted(target, 0, 0, 100, 100, u"small.png"));
    EXPECT_EQ(target.width(), 100);  // s = min(100 / 10, 100 / 5) = 10
    EXPECT_EQ(target.height(), 50);
    for (int y = 0; y < 50; y += 7)
        for (int x = 0; x < 100; x += 9)
            ASSERT_EQ(target.pixel(x, y), kRed) << x << "," << y;
    // A larger picture is reduced, keeping its aspect ratio.
    Write("wide.png", SolidPng(300, 100, kRed));
    CYbBitmap reduced;
    ASSERT_TRUE(renderer.loadFitted(reduced, 0, 0, 60, 60, u"wide.png"));
    EXPECT_EQ(reduced.width(), 60);
    EXPECT_EQ(reduced.height(), 20);
}

TEST_F(PictOleRendererTest, FittingIntoAnExistingTargetIsPlacedAndClipped) {
    Write("p.png", SolidPng(20, 10, kRed));
    CYbBitmap target(50, 40);
    target.fill(kMark);
    ASSERT_TRUE(renderer.loadFitted(target, 10, 20, 30, 30, u"p.png"));
    // Scaled to 30 x 15 at (10, 20).
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x) {
            const bool inside = x >= 10 && x < 40 && y >= 20 && y < 35;
            ASSERT_EQ(target.pixel(x, y), inside ? kRed : kMark) << x << "," << y;
        }
    // Partly outside on every side: only the visible part is written.
    CYbBitmap small(8, 8);
    small.fill(kMark);
    ASSERT_TRUE(renderer.loadFitted(small, -5, 6, 40, 40, u"p.png"));
    EXPECT_EQ(small.pixel(0, 6), kRed);
    EXPECT_EQ(small.pixel(7, 7), kRed);
    EXPECT_EQ(small.pixel(7, 5), kMark);
    EXPECT_TRUE(renderer.loadFitted(small, 1 << 30, -(1 << 30), 40, 40, u"p.png"));
    EXPECT_EQ(small.pixel(3, 3), kMark);
}

TEST_F(PictOleRendererTest, StretchingLosesTheAspectRatio) {
    // Left column black, the rest white: stretching must keep the split at a third.
    std::vector<uint8_t> rows;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 30; ++x) {
            const uint8_t v = x < 10 ? 0 : 255;
            rows.insert(rows.end(), {v, v, v});
        }
    Write("paper.png", Files::MakePng(30, 10, PNG_COLOR_TYPE_RGB, 8, rows));
    CYbBitmap target(90, 200);
    target.fill(kMark);
    ASSERT_TRUE(renderer.loadStretched(target, 0, 0, 90, 200, u"paper.png"));
    EXPECT_EQ(target.pixel(0, 0), Pixel(0, 0, 0));
    EXPECT_EQ(target.pixel(20, 199), Pixel(0, 0, 0));
    EXPECT_EQ(target.pixel(40, 100), Pixel(255, 255, 255));
    EXPECT_EQ(target.pixel(89, 199), Pixel(255, 255, 255));
    // A stretch into a smaller box of a larger target writes only the box.
    CYbBitmap big(100, 100);
    big.fill(kMark);
    ASSERT_TRUE(renderer.loadStretched(big, 5, 5, 10, 50, u"paper.png"));
    EXPECT_EQ(big.pixel(14, 54), Pixel(255, 255, 255));
    EXPECT_EQ(big.pixel(15, 54), kMark);
    EXPECT_EQ(big.pixel(14, 55), kMark);
}

TEST_F(PictOleRendererTest, DrawToDcCentresUnscaledWithTransparency) {
    const std::vector<Files::Rgb> palette = {{0, 0, 255}, {9, 9, 9}};
    Write("t.gif", Files::MakeGif(4, 2, palette, {0, 1, 0, 1, 1, 0, 1, 0}, 1));
    CYbBitmap target(10, 10);
    target.fill(kMark);
    ASSERT_TRUE(renderer.drawToDC(target, 0, 0, 10, 10, u"t.gif"));
    // left = 0 + 10 / 2 - 4 / 2 = 3, top = 0 + 10 / 2 - 2 / 2 = 4.
    EXPECT_EQ(target.pixel(3, 4) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(target.pixel(4, 4), kMark);  // transparent
    EXPECT_EQ(target.pixel(4, 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(target.pixel(2, 4), kMark);
    EXPECT_EQ(target.pixel(7, 4), kMark);
    EXPECT_EQ(target.pixel(3, 6), kMark);
}

}  // namespace
}  // namespace Yomibon
