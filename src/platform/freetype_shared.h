// The process's FreeType library and the span writer shared by the FreeType backends
// (font faces and the ink rasteriser). Only those backend files include this header.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "platform/ink_raster.h"

namespace Yomibon {

// Created on first use, lives for the process; used from the drawing thread only.
FT_Library SharedFreeType();

// Sets the ink of an outline whose coordinates are 26.6 mask pixels with y pointing up
// (a mask row r covers y from -r - 1 to -r). Pixels at least `threshold`/255 covered
// become ink.
bool RenderOutlineInk(const InkMask& mask, FT_Outline* outline, int threshold = 128);

}  // namespace Yomibon
