// PNG pictures through libpng, from a block of bytes (files and the built-in images alike).
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/bitmap.h"

namespace Yomibon {

// Decodes into out, B, G, R and alpha: the file's alpha (or its tRNS transparency) where it
// has one, 255 elsewhere; gamma corrected for a 2.2 screen. False, out unchanged, on any
// libpng error, truncation, or a picture past the pixel limit.
bool DecodePng(const uint8_t* data, size_t size, CYbBitmap& out);

}  // namespace Yomibon
