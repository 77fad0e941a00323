#include "render/pict_renderer.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/paths.h"
#include "render/resampler.h"

namespace Yomibon {

namespace PictPlacement {

// The part of a w by h source that lands inside the target at (x, y), in source
// coordinates; 64-bit so that far-off positions cannot overflow.
struct Clip {
    int left, top, right, bottom;
    bool empty() const { return left >= right || top >= bottom; }
};

Clip ClipTo(const CYbBitmap& target, int64_t x, int64_t y, int64_t w, int64_t h) {
    const int64_t left = std::max<int64_t>(0, -x), top = std::max<int64_t>(0, -y);
    const int64_t right = std::min<int64_t>(w, target.width() - x);
    const int64_t bottom = std::min<int64_t>(h, target.height() - y);
    if (left >= right || top >= bottom) return Clip{0, 0, 0, 0};
    return Clip{int(left), int(top), int(right), int(bottom)};
}

void CopyClipped(CYbBitmap& target, int x, int y, int width, int height, const CYbBitmap& source) {
    const Clip c =
        ClipTo(target, x, y, std::min(source.width(), width), std::min(source.height(), height));
    if (c.empty()) return;
    for (int row = c.top; row < c.bottom; ++row)
        std::copy(source.row(row) + c.left, source.row(row) + c.right,
                  target.row(y + row) + x + c.left);
}

void BlendClipped(CYbBitmap& target, int x, int y, const CYbBitmap& source) {
    const Clip c = ClipTo(target, x, y, source.width(), source.height());
    if (c.empty()) return;
    for (int row = c.top; row < c.bottom; ++row) {
        const uint32_t* src = source.row(row);
        uint32_t* dst = target.row(y + row) + (x + c.left);
        for (int col = c.left; col < c.right; ++col, ++dst) {
            const uint32_t s = src[col], a = s >> 24;
            if (a == 0) continue;
            const uint32_t d = *dst;
            uint32_t blended = d & 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
                blended |= ((sc * a + dc * (255 - a) + 127) / 255) << shift;
            }
            *dst = blended;
        }
    }
}

}  // namespace PictPlacement

bool CYbPictRenderer::PlaceFitted(CYbBitmap& target, int x, int y, int width, int height,
                                  const CYbBitmap& picture) {
    if (picture.empty()) return false;
    const double scale =
        std::min(double(width) / picture.width(), double(height) / picture.height());
    CYbBitmap scaled;
    if (!resample(scaled, picture, scale, scale) || scaled.empty()) return false;
    if (target.empty()) target.create(scaled.width(), scaled.height());
    PictPlacement::CopyClipped(target, x, y, width, height, scaled);
    return true;
}

bool CYbPictRenderer::PlaceStretched(CYbBitmap& target, int x, int y, int width, int height,
                                     const CYbBitmap& picture) {
    if (picture.empty()) return false;
    CYbBitmap scaled;
    const double xScale = double(width) / picture.width();
    const double yScale = double(height) / picture.height();
    if (!resample(scaled, picture, xScale, yScale) || scaled.empty()) return false;
    PictPlacement::CopyClipped(target, x, y, width, height, scaled);
    return true;
}

bool CYbPictRenderer::DrawCentred(CYbBitmap& target, int x, int y, int width, int height,
                                  const CYbBitmap& picture) {
    if (picture.empty()) return false;
    const int64_t left = int64_t(x) + width / 2 - picture.width() / 2;
    const int64_t top = int64_t(y) + height / 2 - picture.height() / 2;
    if (left < -picture.width() || top < -picture.height() || left > target.width() ||
        top > target.height())
        return true;  // entirely outside
    PictPlacement::BlendClipped(target, int(left), int(top), picture);
    return true;
}

std::u16string CYbPictRenderer::CurrentDirectory() {
    std::error_code ec;
    const std::filesystem::path current = std::filesystem::current_path(ec);
    return ec ? std::u16string() : FromFsPath(current);
}

std::u16string CYbPictRenderer::ResolvePath(std::u16string_view directory,
                                            std::u16string_view file) {
    // Computed, not by changing the process's current directory: nothing to restore.
    std::filesystem::path path = ToFsPath(NormalizePath(file));
    if (path.is_relative()) {
        const std::u16string base =
            directory.empty() ? CurrentDirectory() : std::u16string(directory);
        path = ToFsPath(NormalizePath(base)) / path;
    }
    return FromFsPath(path.lexically_normal());
}

bool CYbDecodingPictRenderer::loadFitted(CYbBitmap& target, int x, int y, int width, int height,
                                         std::u16string_view file) {
    CYbBitmap picture;
    return loadPicture(file, picture) && PlaceFitted(target, x, y, width, height, picture);
}

bool CYbDecodingPictRenderer::drawToDC(CYbBitmap& target, int x, int y, int width, int height,
                                       std::u16string_view file) {
    CYbBitmap picture;
    return loadPicture(file, picture) && DrawCentred(target, x, y, width, height, picture);
}

bool CYbDecodingPictRenderer::loadStretched(CYbBitmap& target, int x, int y, int width, int height,
                                            std::u16string_view file) {
    CYbBitmap picture;
    return loadPicture(file, picture) && PlaceStretched(target, x, y, width, height, picture);
}

}  // namespace Yomibon
