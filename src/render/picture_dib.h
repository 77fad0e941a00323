// Device-independent bitmap records (BITMAPINFOHEADER layout) and their conversion into
// 32-bit bitmaps; shared by the BMP reader and the picture plug-ins.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/bitmap.h"

namespace Yomibon {

// What a DIB header says about its pixels, after checking.
struct DibFormat {
    int width = 0;
    int height = 0;        // rows, always positive
    bool topDown = false;  // a negative height in the header
    int bitCount = 0;      // 1, 4, 8, 16, 24 or 32
    bool bitfields = false;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    uint32_t palette[256] = {};        // B, G, R, 0 per entry
    int paletteCount = 0;
    size_t headerBytes = 0;  // header, masks and palette
    size_t stride() const { return ((size_t(width) * size_t(bitCount) + 31) / 32) * 4; }
    size_t imageBytes() const { return stride() * size_t(height); }
};

// Reads a BITMAPINFOHEADER (or the older 12-byte core header) with its masks and palette
// from size bytes. False for anything this reader does not draw: compressed pixels, an odd
// bit count, a zero or negative width, a picture over the pixel limit, a short block.
bool ParseDibHeader(const uint8_t* data, size_t size, DibFormat& format);

// Converts the pixel rows (bottom-up unless the format says top-down) into out, B, G, R
// and alpha. Alpha is 255 except for 32-bit pixels when keepAlpha is set, where the fourth
// byte (or the alpha mask) is the alpha. False, leaving out unchanged, when size is short.
bool DibToBitmap(const DibFormat& format, const uint8_t* bits, size_t size, bool keepAlpha,
                 CYbBitmap& out);

}  // namespace Yomibon
