// Reading the records of an enhanced metafile into figures in reference-device pixels.
#pragma once

#include <string_view>
#include <vector>

#include "platform/ink_raster.h"
#include "render/emf_glyph.h"

namespace Yomibon {

// One drawing operation of the metafile: a path, filled and/or stroked.
struct EmfFigure {
    InkPath path;  // reference-device pixels
    bool fill = false;
    InkFill rule = InkFill::Alternate;
    bool stroke = false;
    InkPen pen;             // width in reference-device pixels
    bool cosmetic = false;  // one pixel of the output whatever the scale
};

struct EmfPicture {
    // The picture frame in reference-device pixels: what is mapped onto the target.
    double left = 0, top = 0, right = 0, bottom = 0;
    std::vector<EmfFigure> figures;
};

// Reads the metafile; Refused when it carries a palette.
EmfStatus ReadEmfPicture(std::string_view bytes, EmfPicture& picture);

}  // namespace Yomibon
