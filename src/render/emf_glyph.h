// External glyphs drawn from enhanced metafiles: everything the metafile draws becomes ink.
#pragma once

#include <string_view>

#include "render/bitmap.h"

namespace Yomibon {

enum class EmfStatus {
    Drawn,      // played (it may have drawn nothing visible inside the mask)
    Malformed,  // not a metafile, or records that cannot be read
    Refused,    // a metafile with a palette
};

// Plays the metafile so that its picture frame fills the rectangle
// (left, top) - (right, bottom) of the mask.
EmfStatus PlayEmfGlyph(std::string_view bytes, CYbMonoBitmap& mask, int left, int top, int right,
                       int bottom);

}  // namespace Yomibon
