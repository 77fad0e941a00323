// The placement of one character, mark or decoration on a spread.
#pragma once

#include <cstdint>
#include <map>

#include "text/text_buffer.h"

namespace Yomibon {

// Nine signed integers: layout units (1/100 mm) while a spread is built, canvas pixels
// after scaling; `height` and `width` always stay in layout units.
struct PageMapEntry {
    int32_t iColumn = 0;  // global column of the character
    int32_t x = 0;        // left edge of the cell
    int32_t y = 0;        // top edge of the cell
    int32_t advance = 0;  // extent along the column (glyph height plus spacing)
    int32_t size = 0;     // extent across the column (the glyph box)
    int32_t height = 0;   // glyph height
    int32_t width = 0;    // glyph width (side flags for ruled-block entries)
    int32_t inkX = 0;     // where the glyph is drawn
    int32_t inkY = 0;
    bool operator==(const PageMapEntry&) const = default;
};

// Character map: keyed by the text position of the run and a character number.
// Decoration map: keyed by (0, character number, decoration number).
using PageMap = std::map<TextPoint, PageMapEntry>;

// A rectangle in pixels or layout units, right and bottom exclusive.
struct MapRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool contains(int32_t px, int32_t py) const {
        return px >= left && px < right && py >= top && py < bottom;
    }
    bool operator==(const MapRect&) const = default;
};

}  // namespace Yomibon
