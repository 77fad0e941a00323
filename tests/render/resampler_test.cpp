#include "render/resampler.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Yomibon {
namespace {

CYbBitmap Constant(int width, int height, uint32_t pixel) {
    CYbBitmap bitmap(width, height);
    bitmap.fill(pixel);
    return bitmap;
}

// Every pixel of the bitmap equals value.
::testing::AssertionResult AllPixels(const CYbBitmap& bitmap, uint32_t value) {
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            if (bitmap.pixel(x, y) != value)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << bitmap.pixel(x, y);
    return ::testing::AssertionSuccess();
}

TEST(ResamplerTest, TargetSizeIsTruncatedProduct) {
    CYbBitmap source = Constant(10, 7, 0xFF102030);
    CYbBitmap target;
    ASSERT_TRUE(resample(target, source, 2.55, 0.5));
    EXPECT_EQ(target.width(), 25);
    EXPECT_EQ(target.height(), 3);
    ASSERT_TRUE(resample(target, source, 1.0, 1.0));
    EXPECT_EQ(target.width(), 10);
    EXPECT_EQ(target.height(), 7);
}

TEST(ResamplerTest, ConstantPictureStaysConstantBothWays) {
    const uint32_t values[] = {0xFFFFFFFF, 0xFF000000, 0x80C86432, 0x01FE0102, 0xFF7F7F7F};
    const double scales[][2] = {{4.0, 4.0}, {0.25, 0.25}, {3.7, 0.31}, {0.13, 1.9}, {1.0, 1.0}};
    for (uint32_t value : values) {
        CYbBitmap source = Constant(37, 29, value);
        for (const auto& s : scales) {
            CYbBitmap target;
            ASSERT_TRUE(resample(target, source, s[0], s[1]));
            ASSERT_GT(target.width(), 0);
            EXPECT_TRUE(AllPixels(target, value)) << std::hex << value << " at " << s[0];
        }
    }
}

TEST(ResamplerTest, ZeroSizedTargetStaysEmpty) {
    CYbBitmap source = Constant(3, 40, 0xFFFFFFFF);
    CYbBitmap target(5, 5);
    EXPECT_TRUE(resample(target, source, 0.2, 1.0));  // 3 * 0.2 rounds to 0
    EXPECT_TRUE(target.empty());
    EXPECT_EQ(target.width(), 0);
    EXPECT_TRUE(resample(target, source, 1.0, 0.01));
    EXPECT_TRUE(target.empty());
    CYbBitmap none;
    EXPECT_TRUE(resample(target, none, 2.0, 2.0));
    EXPECT_TRUE(target.empty());
}

TEST(ResamplerTest, RejectsBadScales) {
    CYbBitmap source = Constant(100, 100, 0xFF000000);
    CYbBitmap target(1, 1);
    EXPECT_FALSE(resample(target, source, NAN, 1.0));
    EXPECT_TRUE(target.empty());
    EXPECT_FALSE(resample(target, source, 1.0, INFINITY));
    EXPECT_FALSE(resample(target, source, 1e6, 1e6));  // past the picture limit
    EXPECT_TRUE(target.empty());
    EXPECT_TRUE(resample(target, source, -2.0, 1.0));
    EXPECT_TRUE(target.empty());
}

// Properties of a Lanczos-3 window, not its formula: one at the centre, zero at the other
// integers and past the support, lobes of alternating sign, symmetric, and the taps at any
// fractional offset summing to (nearly) one.
TEST(ResamplerTest, LanczosWindow) {
    using Detail::LanczosWeight;
    EXPECT_EQ(LanczosWeight(0, 3), 1.0);
    EXPECT_EQ(LanczosWeight(3.01, 3), 0.0);
    EXPECT_EQ(LanczosWeight(-3.5, 3), 0.0);
    for (int k : {1, 2, 3})
        EXPECT_NEAR(LanczosWeight(k, 3), 0.0, 1e-5) << k;
    for (double x = 0.05; x < 3; x += 0.1) {
        double w = LanczosWeight(x, 3);
        // (0,1) positive, (1,2) negative, (2,3) positive again.
        if (x < 1 || x > 2)
            EXPECT_GT(w, 0.0) << x;
        else
            EXPECT_LT(w, 0.0) << x;
        EXPECT_DOUBLE_EQ(LanczosWeight(-x, 3), w);
        EXPECT_LE(w, 1.0);
    }
    EXPECT_GT(LanczosWeight(0.5, 3), 0.55);   // the main lobe carries the weight
    EXPECT_LT(LanczosWeight(1.5, 3), -0.05);  // the first negative lobe is a real one
    for (double f = 0; f < 1; f += 0.05) {
        double sum = 0;
        for (int k = -3; k <= 3; ++k)
            sum += LanczosWeight(k - f, 3);
        EXPECT_NEAR(sum, 1.0, 0.01) << f;
    }
}

TEST(ResamplerTest, EnlargedStepKeepsEdgesAndClamps) {
    // Left half black, right half white: enlarging overshoots near the edge (the negative
    // lobes) and the channels must clamp rather than wrap.
    CYbBitmap source(8, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x)
            source.pixel(x, y) = x < 4 ? 0xFF000000 : 0xFFFFFFFF;
    CYbBitmap target;
    ASSERT_TRUE(resample(target, source, 4.0, 4.0));
    ASSERT_EQ(target.width(), 32);
    EXPECT_EQ(target.pixel(0, 3), 0xFF000000u);
    EXPECT_EQ(target.pixel(31, 3), 0xFFFFFFFFu);
    for (int x = 0; x < 31; ++x)  // monotone apart from clamped ringing
        EXPECT_LE(target.pixel(x, 0) & 0xFF, (target.pixel(x + 1, 0) & 0xFF) + 40) << x;
    EXPECT_LT(target.pixel(15, 0) & 0xFF, 128u);
    EXPECT_GT(target.pixel(16, 0) & 0xFF, 127u);
}

TEST(ResamplerTest, ThreadCountDoesNotChangeResult) {
    CYbBitmap source(61, 47);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.pixel(x, y) = uint32_t(x * 4 + y * 7) * 0x01030507u;
    for (double scale : {0.37, 2.3}) {
        CYbBitmap one, two, inline_;
        ASSERT_TRUE(Detail::ResampleWithThreads(one, source, scale, scale, 1));
        ASSERT_TRUE(Detail::ResampleWithThreads(two, source, scale, scale, 2));
        ASSERT_TRUE(Detail::ResampleWithThreads(inline_, source, scale, scale, 0));
        ASSERT_EQ(one.width(), two.width());
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x) {
                ASSERT_EQ(one.pixel(x, y), two.pixel(x, y));
                ASSERT_EQ(one.pixel(x, y), inline_.pixel(x, y));
            }
    }
}

}  // namespace
}  // namespace Yomibon
