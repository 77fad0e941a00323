#include "render/picture_loader.h"

#include <algorithm>
#include <cstring>

namespace Yomibon {

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kOpaque = 0xFF000000;
constexpr uint32_t kColour = 0x00FFFFFF;

bool StartsWith(const uint8_t* data, size_t size, const char* magic) {
    const size_t length = std::strlen(magic);
    return size >= length && std::memcmp(data, magic, length) == 0;
}

}  // namespace

void SystemPicture::render(CYbBitmap& target) const {
    const int w = std::min(width, target.width());
    const int h = std::min(height, target.height());
    for (int y = 0; y < h; ++y) {
        const uint32_t* src = pixels.data() + size_t(y) * size_t(width);
        const uint8_t* mask = transparent ? drawn.data() + size_t(y) * size_t(width) : nullptr;
        uint32_t* dst = target.row(y);
        for (int x = 0; x < w; ++x)
            if (!mask || mask[x]) dst[x] = (src[x] & kColour) | kOpaque;
    }
}

bool LoadSystemPicture(const uint8_t* data, size_t size, SystemPicture& out) {
    if (!data) return false;
    if (StartsWith(data, size, "\xFF\xD8\xFF")) return LoadJpegPicture(data, size, out);
    if (StartsWith(data, size, "GIF87a") || StartsWith(data, size, "GIF89a"))
        return LoadGifPicture(data, size, out);
    if (StartsWith(data, size, "BM")) return LoadBmpPicture(data, size, out);
    return false;
}

void SystemPictureToBitmap(const SystemPicture& picture, CYbBitmap& out) {
    out.create(picture.width, picture.height);
    if (!picture.transparent && picture.bitsPerPixel >= 32) {
        // One drawing; such pictures are made opaque rather than left to whatever the
        // fourth byte of their pixels happened to hold.
        picture.render(out);
        return;
    }
    out.fill(kWhite);
    picture.render(out);
    CYbBitmap overBlack(picture.width, picture.height);
    overBlack.fill(kBlack);
    picture.render(overBlack);
    for (int y = 0; y < out.height(); ++y) {
        uint32_t* white = out.row(y);
        const uint32_t* black = overBlack.row(y);
        for (int x = 0; x < out.width(); ++x) {
            const bool same = (white[x] & kColour) == (black[x] & kColour);
            white[x] = (white[x] & kColour) | (same ? kOpaque : 0);
        }
    }
}

}  // namespace Yomibon
