#include "render/pict_spi_renderer.h"

#include <dlfcn.h>

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "platform/utf16.h"
#include "render/pict_ole_renderer.h"
#include "render/pict_test_files.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

namespace Files = Yomibon::Test;
using Yomibon::Test::Pixel;

constexpr uint32_t kMark = 0x00123456;

std::filesystem::path WebpPlugin() {
    return ProgramFolder() / "webp.spi";
}
std::filesystem::path TestPlugin(const char* name) {
    return ProgramFolder() / "testspi" / name;
}
std::u16string Picture(const char* name) {
    return FromFsPath(Files::DataDir() / "pictures" / name);
}

// How many blocks the misbehaving plug-in has had back through its FreeHandle.
int GarbageFreed(const std::filesystem::path& loadedCopy) {
    void* module = dlopen(loadedCopy.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!module) return -1;
    auto count = reinterpret_cast<int (*)()>(dlsym(module, "GarbageFreedCount"));
    const int freed = count ? count() : -1;
    dlclose(module);
    return freed;
}

TEST(PictSpiRendererTest, WebpThroughTheInTreePlugin) {
    ASSERT_TRUE(std::filesystem::exists(WebpPlugin())) << "webp.spi is built beside the program";
    CYbPictSPIRenderer renderer;  // no folder set: the program folder
    std::u16string folder;
    ASSERT_TRUE(renderer.getProperty(u"PluginDir", folder));
    EXPECT_EQ(folder, FromFsPath(ProgramFolder()));
    EXPECT_EQ(renderer.getClassName(), u"CYbPictSPIRenderer");
    ASSERT_TRUE(renderer.canLoad(Picture("lossless_alpha.webp")));
    CYbBitmap picture;
    ASSERT_TRUE(renderer.loadPicture(Picture("lossless_alpha.webp"), picture));
    ASSERT_EQ(picture.width(), 4);
    ASSERT_EQ(picture.height(), 3);
    for (int y = 0; y < 3; ++y) {  // rows come back top-down although the plug-in's are not
        EXPECT_EQ(picture.pixel(0, y) >> 24, 0u);
        EXPECT_EQ(picture.pixel(1, y), Pixel(60, uint8_t(y * 100), 200, 128));
        EXPECT_EQ(picture.pixel(3, y), Pixel(180, uint8_t(y * 100), 200, 255));
    }
    CYbBitmap fitted;
    ASSERT_TRUE(renderer.loadFitted(fitted, 0, 0, 16, 16, Picture("lossy_green.webp")));
    ASSERT_EQ(fitted.width(), 16);
    const uint32_t p = fitted.pixel(8, 8);
    EXPECT_EQ(p >> 24, 255u);
    EXPECT_NEAR(int((p >> 16) & 0xFF), 40, 6);
    EXPECT_NEAR(int((p >> 8) & 0xFF), 160, 6);
    EXPECT_NEAR(int(p & 0xFF), 90, 6);
    // The system loader does not read WebP; the plug-in renderer does not read PNG.
    CYbPictOleRenderer ole;
    EXPECT_FALSE(ole.canLoad(Picture("lossy_green.webp")));
    std::vector<PictFileFilter> filters;
    renderer.getFileFilters(filters);
    EXPECT_NE(std::find(filters.begin(), filters.end(), PictFileFilter(u"*.webp", u"WebP File")),
              filters.end());
}

class PictSpiFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(TestPlugin("garbage.spi")));
        const auto plugins = dir.path() / "plugins";
        std::filesystem::create_directories(plugins / "a.spi");  // a folder named like one
        std::filesystem::copy_file(TestPlugin("noentry.spi"), plugins / "b.spi");
        std::filesystem::copy_file(TestPlugin("garbage.spi"), plugins / "c.spi");
        std::filesystem::copy_file(WebpPlugin(), plugins / "d.SPI");
        Files::WriteFile(plugins / "notes.txt", "not a plug-in");
        garbageCopy = plugins / "c.spi";
        renderer.setProperty(u"PluginDir", FromFsPath(plugins));
        renderer.setProperty(u"CurDir", FromFsPath(dir.path()));
    }
    void Write(const char* name, const std::string& bytes) {
        Files::WriteFile(dir.path() / name, bytes);
    }
    Files::TempDir dir;
    std::filesystem::path garbageCopy;
    CYbPictSPIRenderer renderer;
};

TEST_F(PictSpiFolderTest, FolderNamedLikeAPluginIsSkipped) {
    std::filesystem::copy_file(Files::DataDir() / "pictures" / "lossy_green.webp",
                               dir.path() / "g.webp");
    EXPECT_TRUE(renderer.canLoad(u"g.webp"));
    EXPECT_TRUE(renderer.loaded());
    EXPECT_EQ(renderer.pluginCount(), 2u);  // c.spi and d.SPI; not the folder, not b.spi
    std::vector<PictFileFilter> filters;
    renderer.getFileFilters(filters);
    ASSERT_EQ(filters.size(), 2u);
    // The misbehaving plug-in's over-long pattern is bounded; its Shift_JIS text converted.
    EXPECT_EQ(filters[0].first, std::u16string(512, u'x'));
    EXPECT_EQ(filters[0].second, u"絵 file");
    EXPECT_EQ(filters[1], PictFileFilter(u"*.webp", u"WebP File"));
    renderer.unload();
    EXPECT_FALSE(renderer.loaded());
    EXPECT_EQ(renderer.pluginCount(), 0u);
}

TEST_F(PictSpiFolderTest, GoodPictureAndGarbageFromAPlugin) {
    Write("ok.pic", "GARBAGE:ok");
    CYbBitmap picture;
    ASSERT_TRUE(renderer.loadPicture(u"ok.pic", picture));
    ASSERT_EQ(picture.width(), 2);
    EXPECT_EQ(picture.pixel(0, 0), Pixel(255, 0, 0));  // top row: red, blue
    EXPECT_EQ(picture.pixel(1, 0), Pixel(0, 0, 255));
    EXPECT_EQ(picture.pixel(0, 1), Pixel(0, 0, 255));  // bottom row: blue, red
    EXPECT_EQ(picture.pixel(1, 1), Pixel(255, 0, 0));
    EXPECT_EQ(GarbageFreed(garbageCopy), 2);  // both blocks, through FreeHandle

    // 32-bit pixels keep their alpha, unless every alpha byte is zero (an unused byte).
    Write("zeroalpha.pic", "GARBAGE:zeroalpha");
    ASSERT_TRUE(renderer.loadPicture(u"zeroalpha.pic", picture));
    EXPECT_EQ(picture.pixel(0, 0), Pixel(30, 20, 10, 255));
    EXPECT_EQ(picture.pixel(1, 0), Pixel(30, 20, 10, 255));
    Write("somealpha.pic", "GARBAGE:somealpha");
    ASSERT_TRUE(renderer.loadPicture(u"somealpha.pic", picture));
    EXPECT_EQ(picture.pixel(0, 0), Pixel(30, 20, 10, 0));
    EXPECT_EQ(picture.pixel(1, 0), Pixel(30, 20, 10, 200));

    // Blocks released through FreeHandle may come from any allocator: the host cannot
    // measure them and must not try (reading before this one faults).
    Write("mapped.pic", "GARBAGE:mapped");
    ASSERT_TRUE(renderer.loadPicture(u"mapped.pic", picture));
    EXPECT_EQ(picture.pixel(0, 0), Pixel(0, 255, 0));
    EXPECT_EQ(picture.pixel(1, 0), Pixel(255, 255, 255));
    EXPECT_EQ(GarbageFreed(garbageCopy), 2 + 4 + 2);

    const char* faults[] = {"huge", "negative", "bits", "nobits", "fail"};
    CYbBitmap target(6, 6);
    target.fill(kMark);
    for (const char* fault : faults) {
        const std::string name = std::string(fault) + ".pic";
        Write(name.c_str(), std::string("GARBAGE:") + fault);
        EXPECT_TRUE(renderer.canLoad(FromUtf8(name))) << fault;
        EXPECT_FALSE(renderer.loadFitted(target, 0, 0, 6, 6, FromUtf8(name))) << fault;
        EXPECT_FALSE(renderer.loadStretched(target, 0, 0, 6, 6, FromUtf8(name))) << fault;
    }
    for (int i = 0; i < 36; ++i)
        ASSERT_EQ(target.pixel(i % 6, i / 6), kMark);
    // Every block handed out was given back (two per fault, one for "nobits"), the failed
    // call's garbage excepted; each fault was asked twice.
    EXPECT_EQ(GarbageFreed(garbageCopy), 2 + 4 + 2 + 2 * (3 * 2 + 1));
}

// A plug-in without FreeHandle hands out malloc blocks, which are measured: blocks shorter
// than their header claims are refused.
TEST_F(PictSpiFolderTest, ShortMallocBlocksAreRefused) {
    const auto plugins = dir.path() / "malloc-plugins";
    std::filesystem::create_directories(plugins);
    std::filesystem::copy_file(TestPlugin("garbage_malloc.spi"), plugins / "g.spi");
    CYbPictSPIRenderer measured;
    measured.setProperty(u"PluginDir", FromFsPath(plugins));
    measured.setProperty(u"CurDir", FromFsPath(dir.path()));
    CYbBitmap picture;
    Write("ok.pic", "GARBAGE:ok");
    ASSERT_TRUE(measured.loadPicture(u"ok.pic", picture));
    EXPECT_EQ(picture.width(), 2);
    for (const char* fault : {"short", "tinyinfo", "huge"}) {
        const std::string name = std::string(fault) + ".pic";
        Write(name.c_str(), std::string("GARBAGE:") + fault);
        EXPECT_FALSE(measured.loadPicture(FromUtf8(name), picture)) << fault;
    }
}

TEST_F(PictSpiFolderTest, AnswersAreRememberedUntilUnload) {
    EXPECT_FALSE(renderer.canLoad(u"later.pic"));  // not there yet
    Write("later.pic", "GARBAGE:ok");
    EXPECT_FALSE(renderer.canLoad(u"later.pic"));  // the negative answer stands
    Write("plain.txt", "plain text");
    EXPECT_FALSE(renderer.canLoad(u"plain.txt"));
    renderer.unload();
    EXPECT_TRUE(renderer.canLoad(u"later.pic"));
    CYbBitmap target(10, 10);
    target.fill(kMark);
    EXPECT_TRUE(renderer.drawToDC(target, 0, 0, 10, 10, u"later.pic"));
    EXPECT_EQ(target.pixel(4, 4) & 0xFFFFFF, Pixel(255, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(target.pixel(3, 3), kMark);
}

TEST(PictSpiRendererTest, UnreadableFolderIsTriedAgain) {
    Files::TempDir dir;
    const auto plugins = dir.path() / "later";
    CYbPictSPIRenderer renderer;
    renderer.setProperty(u"PluginDir", FromFsPath(plugins));
    std::filesystem::copy_file(Files::DataDir() / "pictures" / "lossy_green.webp",
                               dir.path() / "g.webp");
    const std::u16string picture = FromFsPath(dir.path() / "g.webp");
    EXPECT_FALSE(renderer.canLoad(picture));
    EXPECT_FALSE(renderer.loaded());
    std::filesystem::create_directories(plugins);
    std::filesystem::copy_file(WebpPlugin(), plugins / "webp.spi");
    EXPECT_TRUE(renderer.canLoad(picture));
    EXPECT_TRUE(renderer.loaded());
    std::u16string value;
    EXPECT_TRUE(renderer.getProperty(u"PluginDir", value));
    EXPECT_EQ(value, FromFsPath(plugins));
    EXPECT_FALSE(renderer.setProperty(u"DataDir", u"/tmp"));
}

}  // namespace
}  // namespace Yomibon
