// The two drawing surfaces: 32-bit colour bitmaps and one-bit glyph masks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/ink_raster.h"

namespace Yomibon {

// COLORREF 0x00BBGGRR to the pixel value 0x00RRGGBB.
inline uint32_t ColorToPixel(uint32_t colorref) {
    return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}
inline uint32_t PixelToColor(uint32_t pixel) {
    return ColorToPixel(pixel);
}

// Pixels are 32 bits stored B, G, R, X in memory; rows top-down; stride = width * 4.
class CYbBitmap {
  public:
    CYbBitmap() = default;
    CYbBitmap(int width, int height) { create(width, height); }
    // Keeps the contents when the size is unchanged; new pixels are zero.
    void create(int width, int height);
    bool empty() const { return pixels_.empty(); }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return width_ * 4; }
    uint32_t* bits() { return pixels_.data(); }
    const uint32_t* bits() const { return pixels_.data(); }
    uint32_t* row(int y) { return pixels_.data() + size_t(y) * size_t(width_); }
    const uint32_t* row(int y) const { return pixels_.data() + size_t(y) * size_t(width_); }
    uint32_t& pixel(int x, int y) { return row(y)[x]; }
    uint32_t pixel(int x, int y) const { return row(y)[x]; }
    void fill(uint32_t pixel);

  private:
    std::vector<uint32_t> pixels_;
    int width_ = 0;
    int height_ = 0;
};

// One-bit top-down mask; rows aligned to 32 pixels; a set bit (most significant bit
// first) is ink.
class CYbMonoBitmap {
  public:
    CYbMonoBitmap() = default;
    CYbMonoBitmap(int width, int height) { create(width, height); }
    void create(int width, int height);
    bool empty() const { return bits_.empty(); }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return stride_; }
    uint8_t* bits() { return bits_.data(); }
    const uint8_t* bits() const { return bits_.data(); }
    uint8_t* row(int y) { return bits_.data() + size_t(y) * size_t(stride_); }
    const uint8_t* row(int y) const { return bits_.data() + size_t(y) * size_t(stride_); }
    bool get(int x, int y) const { return (row(y)[x >> 3] >> (7 - (x & 7))) & 1; }
    void set(int x, int y, bool ink);
    void clear();
    // The mask as a target for the ink rasteriser.
    InkMask inkMask() { return {bits_.data(), width_, height_, stride_}; }
    // True when any bit is set.
    bool hasInk() const;

  private:
    std::vector<uint8_t> bits_;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
};

}  // namespace Yomibon
