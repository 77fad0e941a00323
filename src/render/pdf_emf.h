// External glyphs in vector output: the figures of an enhanced metafile as cairo paths.
#pragma once

#include <cairo.h>

#include <string_view>

#include "render/emf_glyph.h"

namespace Yomibon {

// Draws the metafile so that its picture frame fills the rectangle (x, y, width, height)
// of the user space, in the current source colour. `hairline` is the width of cosmetic
// pens (one pixel of a screen) in user units.
EmfStatus DrawEmfPaths(cairo_t* cr, std::string_view bytes, double x, double y, double width,
                       double height, double hairline);

}  // namespace Yomibon
