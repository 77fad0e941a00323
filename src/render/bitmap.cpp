#include "render/bitmap.h"

#include <algorithm>

namespace Yomibon {

void CYbBitmap::create(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    pixels_.assign(size_t(width) * size_t(height), 0);
}

void CYbBitmap::fill(uint32_t pixel) {
    std::fill(pixels_.begin(), pixels_.end(), pixel);
}

void CYbMonoBitmap::create(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    stride_ = ((width + 31) / 32) * 4;
    bits_.assign(size_t(stride_) * size_t(height), 0);
}

void CYbMonoBitmap::set(int x, int y, bool ink) {
    uint8_t mask = uint8_t(0x80 >> (x & 7));
    if (ink)
        row(y)[x >> 3] |= mask;
    else
        row(y)[x >> 3] &= uint8_t(~mask);
}

void CYbMonoBitmap::clear() {
    std::fill(bits_.begin(), bits_.end(), 0);
}

bool CYbMonoBitmap::hasInk() const {
    return std::any_of(bits_.begin(), bits_.end(), [](uint8_t b) { return b != 0; });
}

}  // namespace Yomibon
