// The system picture loader: JPEG, GIF and BMP files decoded into pictures that draw
// themselves over a bitmap, and the conversion of such a picture into a bitmap with alpha.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/bitmap.h"

namespace Yomibon {

// A loaded picture as the loader hands it out: its size, the depth of its own bitmap,
// whether some of its pixels are transparent, and a way to draw it.
struct SystemPicture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    bool transparent = false;
    std::vector<uint32_t> pixels;  // B, G, R, X; top-down
    std::vector<uint8_t> drawn;    // with transparent: 0 where the target shows through

    // Draws the picture with its top-left at (0, 0) of target, clipped; transparent pixels
    // leave the target as it is, drawn ones are opaque.
    void render(CYbBitmap& target) const;
};

// Decoders from a block of file bytes. Each fails cleanly on truncated or corrupt data and
// on pictures past the pixel limit.
bool LoadJpegPicture(const uint8_t* data, size_t size, SystemPicture& out);
bool LoadGifPicture(const uint8_t* data, size_t size, SystemPicture& out);
bool LoadBmpPicture(const uint8_t* data, size_t size, SystemPicture& out);

// Chooses the decoder by the file's leading bytes, not by its name.
bool LoadSystemPicture(const uint8_t* data, size_t size, SystemPicture& out);

// Makes out the picture's size and draws the picture into it. A transparent picture, or one
// of fewer than 32 bits per pixel, gets its alpha by drawing it over white and over black:
// alpha is 255 where both drawings agree and 0 where they differ.
void SystemPictureToBitmap(const SystemPicture& picture, CYbBitmap& out);

}  // namespace Yomibon
