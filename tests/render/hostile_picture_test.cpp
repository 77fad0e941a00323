// Pictures and glyphs made to harm: headers that lie about their size, outlines too long for
// the rasteriser's counts, and the separable resampler against the full two-dimensional sum.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <random>

#include "emf_builder.h"
#include "pict_test_files.h"
#include "platform/limits.h"
#include "render/emf_glyph.h"
#include "render/picture_loader.h"
#include "render/picture_png.h"
#include "render/resampler.h"

namespace Yomibon {
namespace {

void Put32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + i] = char(v >> (24 - 8 * i));
}

// A real PNG's header made to claim width x height (with a valid checksum), cut to 40 bytes.
std::string LyingPng(uint32_t width, uint32_t height) {
    std::string png = Yomibon::Test::MakePng(1, 1, 2, 8, {0, 1, 2, 3});
    Put32(png, 16, width);
    Put32(png, 20, height);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
    Put32(png, 29, uint32_t(crc));
    return png.substr(0, 40);
}

TEST(HostilePicture, FortyBytePngClaimingHugeSizesIsRefusedUnallocated) {
    for (auto [w, h] : {std::pair{100'000u, 100'000u}, {10'000u, 10'000u}, {1u, 5'000'000u}}) {
        const std::string png = LyingPng(w, h);
        CYbBitmap out(3, 3);
        EXPECT_FALSE(DecodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), out));
        EXPECT_EQ(out.width(), 3);  // left as it was
    }
    EXPECT_FALSE(Limits::PictureSizeAllowed(100'000, 100'000, 40));
    EXPECT_FALSE(Limits::PictureSizeAllowed(0, 10, 1000));
    EXPECT_TRUE(Limits::PictureSizeAllowed(8000, 8000, 203'000));  // a real, well-packed PNG
    EXPECT_FALSE(Limits::PictureSizeAllowed(20'000, 20'000, uint64_t(1) << 30));  // pixel cap
}

TEST(HostilePicture, GifAndJpegHeadersClaimingHugeSizesAreRefused) {
    std::string gif = Yomibon::Test::MakeGif(2, 2, {{0, 0, 0}, {255, 255, 255}}, {0, 1, 1, 0}, -1);
    gif[6] = gif[7] = gif[8] = gif[9] = char(0xFF);  // logical screen 65535 x 65535
    SystemPicture picture;
    EXPECT_FALSE(LoadGifPicture(reinterpret_cast<const uint8_t*>(gif.data()), gif.size(), picture));
    std::string jpeg = Yomibon::Test::MakeJpeg(8, 8, std::vector<uint8_t>(8 * 8 * 3, 128));
    const size_t sof = jpeg.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    jpeg[sof + 5] = jpeg[sof + 6] = jpeg[sof + 7] = jpeg[sof + 8] = char(0xFF);
    EXPECT_FALSE(
        LoadJpegPicture(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size(), picture));
}

std::string PolygonEmf(int points) {
    std::vector<int32_t> words = {0, 0, 999, 999, points};
    for (int i = 0; i < points; ++i) {
        const double a = 2 * M_PI * i / points;
        words.push_back(int32_t(500 + 400 * std::cos(a)));
        words.push_back(int32_t(500 + 400 * std::sin(a)));
    }
    Yomibon::Test::EmfBuilder emf;
    emf.solidBrush();
    emf.recordWords(3, words);  // EMR_POLYGON
    return emf.bytes();
}

int InkCount(const CYbMonoBitmap& mask) {
    int n = 0;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            n += mask.get(x, y) ? 1 : 0;
    return n;
}

// 40,000 points once drew nothing and 70,000 a sliver (16-bit counts); such a glyph is
// now refused as malformed, and one within the counts is drawn whole.
TEST(HostilePicture, GlyphOutlinesPastTheRasterisersCountsAreRefused) {
    for (int points : {40'000, 70'000}) {
        CYbMonoBitmap mask(64, 64);
        EXPECT_EQ(PlayEmfGlyph(PolygonEmf(points), mask, 0, 0, 64, 64), EmfStatus::Malformed)
            << points;
        EXPECT_EQ(InkCount(mask), 0);
    }
    CYbMonoBitmap mask(64, 64);
    EXPECT_EQ(PlayEmfGlyph(PolygonEmf(30'000), mask, 0, 0, 64, 64), EmfStatus::Drawn);
    // A disc of radius 0.4 of the cell: about half the mask.
    EXPECT_NEAR(InkCount(mask), int(M_PI * 25.6 * 25.6), 120);
}

// The full two-dimensional Lanczos sum, as the resampler once computed it.
uint32_t ReferencePixel(const CYbBitmap& src, double sx, double sy, int x, int y) {
    auto taps = [](int i, int inSize, double scale, std::vector<std::pair<int, double>>& out) {
        out.clear();
        const double centre = scale >= 1 ? (i + 0.5) / scale : i + 0.5;
        const double from = scale >= 1 ? centre - 3 : (centre - 3) / scale;
        const double to = scale >= 1 ? centre + 3 : (centre + 3) / scale;
        for (int j = std::max(0, int(std::max(from, 0.0))); j < std::min(inSize, int(to)); ++j) {
            const double d =
                scale >= 1 ? std::fabs(j + 0.5 - centre) : std::fabs(scale * (j + 0.5) - centre);
            out.push_back({j, Detail::LanczosWeight(d, 3.0)});
        }
    };
    std::vector<std::pair<int, double>> xs, ys;
    taps(x, src.width(), sx, xs);
    taps(y, src.height(), sy, ys);
    double c[4] = {0, 0, 0, 0}, sum = 0;
    for (auto [j, wy] : ys)
        for (auto [i, wx] : xs) {
            const uint32_t p = src.row(j)[i];
            for (int k = 0; k < 4; ++k)
                c[k] += wy * wx * double((p >> (8 * k)) & 0xFF);
            sum += wy * wx;
        }
    uint32_t out = 0;
    for (int k = 0; k < 4; ++k) {
        const double v = sum == 0 ? 0 : c[k] / sum + 1e-6;
        out |= uint32_t(v < 1 ? 0 : v > 255 ? 255 : int(v)) << (8 * k);
    }
    return out;
}

TEST(HostilePicture, SeparableResamplingMatchesTheTwoDimensionalSum) {
    std::mt19937 random(3);
    CYbBitmap src(37, 23);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            src.row(y)[x] = uint32_t(random());
    for (auto [sx, sy] : {std::pair{0.37, 0.5}, {2.3, 1.7}, {1.0, 1.0}, {0.11, 3.0}}) {
        CYbBitmap out;
        ASSERT_TRUE(resample(out, src, sx, sy));
        int worst = 0;
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                const uint32_t a = out.pixel(x, y), b = ReferencePixel(src, sx, sy, x, y);
                for (int k = 0; k < 4; ++k)
                    worst = std::max(
                        worst, std::abs(int((a >> (8 * k)) & 0xFF) - int((b >> (8 * k)) & 0xFF)));
            }
        EXPECT_LE(worst, 1) << sx << " x " << sy;
    }
}

}  // namespace
}  // namespace Yomibon
