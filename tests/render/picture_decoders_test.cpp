#include <png.h>

#include <gtest/gtest.h>

#include "render/pict_test_files.h"
#include "render/picture_loader.h"
#include "render/picture_png.h"

namespace Yomibon {
namespace {

namespace Files = Yomibon::Test;
using Yomibon::Test::Pixel;
using Yomibon::Test::Rgb;

const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

// Four distinct colours in a 2 x 2 picture, as RGB triples.
const std::vector<uint8_t> kQuad = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};

TEST(PictureDecodersTest, PngRgbAndRgba) {
    CYbBitmap out;
    const std::string rgb = Files::MakePng(2, 2, PNG_COLOR_TYPE_RGB, 8, kQuad);
    ASSERT_TRUE(DecodePng(Bytes(rgb), rgb.size(), out));
    ASSERT_EQ(out.width(), 2);
    ASSERT_EQ(out.height(), 2);
    EXPECT_EQ(out.pixel(0, 0), Pixel(255, 0, 0));
    EXPECT_EQ(out.pixel(1, 0), Pixel(0, 255, 0));
    EXPECT_EQ(out.pixel(0, 1), Pixel(0, 0, 255));
    EXPECT_EQ(out.pixel(1, 1), Pixel(10, 20, 30));

    const std::vector<uint8_t> rgba = {1, 2, 3, 0, 4, 5, 6, 128, 7, 8, 9, 255, 10, 11, 12, 1};
    const std::string png = Files::MakePng(2, 2, PNG_COLOR_TYPE_RGBA, 8, rgba);
    ASSERT_TRUE(DecodePng(Bytes(png), png.size(), out));
    EXPECT_EQ(out.pixel(0, 0), Pixel(1, 2, 3, 0));
    EXPECT_EQ(out.pixel(1, 0), Pixel(4, 5, 6, 128));
    EXPECT_EQ(out.pixel(0, 1), Pixel(7, 8, 9, 255));
    EXPECT_EQ(out.pixel(1, 1), Pixel(10, 11, 12, 1));
}

TEST(PictureDecodersTest, PngPaletteAlphaOnlyWithTrns) {
    const std::vector<Rgb> palette = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}};
    const std::vector<uint8_t> indices = {0, 1, 2, 0};
    CYbBitmap out;
    const std::string opaque = Files::MakePng(4, 1, PNG_COLOR_TYPE_PALETTE, 8, indices, palette);
    ASSERT_TRUE(DecodePng(Bytes(opaque), opaque.size(), out));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(out.pixel(x, 0) >> 24, 255u) << x;
    EXPECT_EQ(out.pixel(1, 0), Pixel(0, 200, 0));

    const std::string withTrns =
        Files::MakePng(4, 1, PNG_COLOR_TYPE_PALETTE, 8, indices, palette, {0, 77});
    ASSERT_TRUE(DecodePng(Bytes(withTrns), withTrns.size(), out));
    EXPECT_EQ(out.pixel(0, 0), Pixel(200, 0, 0, 0));
    EXPECT_EQ(out.pixel(1, 0), Pixel(0, 200, 0, 77));
    EXPECT_EQ(out.pixel(2, 0), Pixel(0, 0, 200, 255));  // past the tRNS entries: opaque
    EXPECT_EQ(out.pixel(3, 0) >> 24, 0u);

    // Two-bit palette rows are unpacked.
    const std::string packed = Files::MakePng(4, 1, PNG_COLOR_TYPE_PALETTE, 2, {0x1B}, palette);
    ASSERT_TRUE(DecodePng(Bytes(packed), packed.size(), out));
    EXPECT_EQ(out.pixel(0, 0), Pixel(200, 0, 0));
    EXPECT_EQ(out.pixel(1, 0), Pixel(0, 200, 0));
    EXPECT_EQ(out.pixel(2, 0), Pixel(0, 0, 200));
}

TEST(PictureDecodersTest, PngGreyDepthsAndInterlace) {
    CYbBitmap out;
    // 16-bit grey is stripped to 8 and spread to RGB.
    const std::string grey16 =
        Files::MakePng(2, 1, PNG_COLOR_TYPE_GRAY, 16, {0x12, 0x34, 0xFF, 0xFF});
    ASSERT_TRUE(DecodePng(Bytes(grey16), grey16.size(), out));
    EXPECT_EQ(out.pixel(0, 0), Pixel(0x12, 0x12, 0x12));
    EXPECT_EQ(out.pixel(1, 0), Pixel(255, 255, 255));
    // One-bit grey: 10100000.
    const std::string grey1 = Files::MakePng(3, 1, PNG_COLOR_TYPE_GRAY, 1, {0xA0});
    ASSERT_TRUE(DecodePng(Bytes(grey1), grey1.size(), out));
    EXPECT_EQ(out.pixel(0, 0), Pixel(255, 255, 255));
    EXPECT_EQ(out.pixel(1, 0), Pixel(0, 0, 0));
    EXPECT_EQ(out.pixel(2, 0), Pixel(255, 255, 255));
    // Interlaced pictures come out in row order.
    std::vector<uint8_t> rows;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            rows.insert(rows.end(), {uint8_t(x * 20), uint8_t(y * 20), 7});
    const std::string adam7 = Files::MakePng(9, 9, PNG_COLOR_TYPE_RGB, 8, rows, {}, {}, true);
    ASSERT_TRUE(DecodePng(Bytes(adam7), adam7.size(), out));
    EXPECT_EQ(out.pixel(5, 7), Pixel(100, 140, 7));
}

TEST(PictureDecodersTest, BadPngsFailCleanly) {
    const std::string good = Files::MakePng(2, 2, PNG_COLOR_TYPE_RGB, 8, kQuad);
    CYbBitmap out(3, 3);
    out.fill(0x11223344);
    for (size_t cut : {size_t(0), size_t(7), size_t(20), good.size() / 2, good.size() - 13})
        EXPECT_FALSE(DecodePng(Bytes(good), cut, out)) << cut;
    std::string corrupt = good;
    corrupt[40] = char(corrupt[40] ^ 0x5A);  // inside the IDAT data: CRC and inflate fail
    EXPECT_FALSE(DecodePng(Bytes(corrupt), corrupt.size(), out));
    // A header promising 30000 x 30000 pixels is refused before anything is allocated.
    std::string huge = good;
    const uint8_t size[8] = {0, 0, 0x75, 0x30, 0, 0, 0x75, 0x30};
    std::copy(size, size + 8, huge.begin() + 16);
    EXPECT_FALSE(DecodePng(Bytes(huge), huge.size(), out));
    EXPECT_FALSE(DecodePng(nullptr, 100, out));
    EXPECT_EQ(out.width(), 3);
    EXPECT_EQ(out.pixel(2, 2), 0x11223344u);
}

TEST(PictureDecodersTest, JpegColourAndGrey) {
    std::vector<uint8_t> rgb;
    for (int i = 0; i < 16 * 16; ++i)
        rgb.insert(rgb.end(), {200, 100, 50});
    const std::string jpeg = Files::MakeJpeg(16, 16, rgb);
    SystemPicture picture;
    ASSERT_TRUE(LoadSystemPicture(Bytes(jpeg), jpeg.size(), picture));
    EXPECT_EQ(picture.width, 16);
    EXPECT_EQ(picture.height, 16);
    EXPECT_FALSE(picture.transparent);
    EXPECT_LT(picture.bitsPerPixel, 32);
    CYbBitmap out;
    SystemPictureToBitmap(picture, out);
    const uint32_t p = out.pixel(7, 9);
    EXPECT_NEAR(int((p >> 16) & 0xFF), 200, 3);
    EXPECT_NEAR(int((p >> 8) & 0xFF), 100, 3);
    EXPECT_NEAR(int(p & 0xFF), 50, 3);
    EXPECT_EQ(p >> 24, 255u);

    const std::string grey = Files::MakeJpeg(8, 8, std::vector<uint8_t>(64, 90), true);
    ASSERT_TRUE(LoadJpegPicture(Bytes(grey), grey.size(), picture));
    SystemPictureToBitmap(picture, out);
    EXPECT_NEAR(int(out.pixel(3, 3) & 0xFF), 90, 2);
    EXPECT_EQ(out.pixel(3, 3) & 0xFF, (out.pixel(3, 3) >> 16) & 0xFF);

    EXPECT_FALSE(LoadJpegPicture(Bytes(jpeg), jpeg.size() / 2, picture));  // truncated
    EXPECT_FALSE(LoadJpegPicture(Bytes(jpeg), 4, picture));
    std::string huge = jpeg;  // SOF0 height and width bytes say 30000 x 30000
    const size_t sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    huge.replace(sof + 5, 4, "\x75\x30\x75\x30");
    EXPECT_FALSE(LoadJpegPicture(Bytes(huge), huge.size(), picture));
}

TEST(PictureDecodersTest, TransparentGifAlphaFromWhiteAndBlack) {
    const std::vector<Rgb> palette = {{255, 255, 255}, {0, 0, 0}, {255, 0, 0}, {1, 2, 3}};
    // Index 3 is transparent; white and black pixels are opaque and must stay so.
    const std::vector<uint8_t> indices = {0, 1, 2, 3, 3, 2, 1, 0, 0, 3, 0, 3};
    for (bool interlaced : {false, true}) {
        const std::string gif = Files::MakeGif(4, 3, palette, indices, 3, interlaced);
        SystemPicture picture;
        ASSERT_TRUE(LoadSystemPicture(Bytes(gif), gif.size(), picture));
        EXPECT_TRUE(picture.transparent);
        CYbBitmap out;
        SystemPictureToBitmap(picture, out);
        ASSERT_EQ(out.width(), 4);
        ASSERT_EQ(out.height(), 3);
        for (int i = 0; i < 12; ++i) {
            const uint32_t p = out.pixel(i % 4, i / 4);
            if (indices[size_t(i)] == 3) {
                EXPECT_EQ(p >> 24, 0u) << i;
            } else {
                const Rgb& c = palette[indices[size_t(i)]];
                EXPECT_EQ(p, Pixel(c.r, c.g, c.b)) << i;
            }
        }
    }
    // Without a transparent colour every pixel is opaque, the colour index 3 included.
    const std::string opaque = Files::MakeGif(4, 3, palette, indices, -1);
    SystemPicture picture;
    ASSERT_TRUE(LoadGifPicture(Bytes(opaque), opaque.size(), picture));
    EXPECT_FALSE(picture.transparent);
    CYbBitmap out;
    SystemPictureToBitmap(picture, out);
    EXPECT_EQ(out.pixel(3, 0), Pixel(1, 2, 3));
    const std::string gif = Files::MakeGif(4, 3, palette, indices, 3);
    EXPECT_FALSE(LoadGifPicture(Bytes(gif), gif.size() - 8, picture));
    EXPECT_FALSE(LoadGifPicture(Bytes(gif), 10, picture));
}

TEST(PictureDecodersTest, BmpDepthsAndOrientation) {
    SystemPicture picture;
    CYbBitmap out;
    for (bool topDown : {false, true}) {
        const std::string bmp = Files::MakeBmp24(2, 2, kQuad, topDown);
        ASSERT_TRUE(LoadSystemPicture(Bytes(bmp), bmp.size(), picture));
        SystemPictureToBitmap(picture, out);
        EXPECT_EQ(out.pixel(0, 0), Pixel(255, 0, 0));
        EXPECT_EQ(out.pixel(1, 0), Pixel(0, 255, 0));
        EXPECT_EQ(out.pixel(0, 1), Pixel(0, 0, 255));
        EXPECT_EQ(out.pixel(1, 1), Pixel(10, 20, 30));
    }
    const std::string bmp8 =
        Files::MakeBmp8(3, 2, {{9, 8, 7}, {250, 251, 252}}, {0, 1, 0, 1, 1, 0});
    ASSERT_TRUE(LoadBmpPicture(Bytes(bmp8), bmp8.size(), picture));
    EXPECT_EQ(picture.bitsPerPixel, 8);
    SystemPictureToBitmap(picture, out);
    EXPECT_EQ(out.pixel(0, 0), Pixel(9, 8, 7));
    EXPECT_EQ(out.pixel(0, 1), Pixel(250, 251, 252));
    EXPECT_EQ(out.pixel(2, 1), Pixel(9, 8, 7));

    const std::string good = Files::MakeBmp24(2, 2, kQuad);
    EXPECT_FALSE(LoadBmpPicture(Bytes(good), good.size() - 3, picture));  // short pixels
    std::string huge = good;
    huge.replace(18, 8, std::string("\x30\x75\0\0\x30\x75\0\0", 8));
    EXPECT_FALSE(LoadBmpPicture(Bytes(huge), huge.size(), picture));
    std::string zero = good;
    zero.replace(18, 4, std::string(4, '\0'));
    EXPECT_FALSE(LoadBmpPicture(Bytes(zero), zero.size(), picture));
    EXPECT_FALSE(LoadSystemPicture(Bytes(std::string("not a picture")), 13, picture));
}

}  // namespace
}  // namespace Yomibon
