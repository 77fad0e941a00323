// Horizontal-in-vertical text wider than its column is drawn condensed: each glyph at its
// own size on a scratch surface, narrowed by area averaging, then blended in the text colour.
#pragma once

#include <string>
#include <string_view>

#include "layout/txt_mapper.h"
#include "render/bitmap.h"
#include "render/char_renderer.h"

namespace Yomibon {

// Draws `text` with the top-left of its glyph box at (x, y), its natural box width
// `natural` pixels narrowed to `width` pixels, `height` pixels high. False when the
// renderer drew nothing.
// A horizontal-in-vertical character as drawn: the mapper narrows the entries of a run wider
// than its column. A full-width letter or digit narrowed so is drawn in its half-width form;
// `scale` is the entry's width against the drawn form's own (1 when it keeps its width).
struct HorizontalGlyph {
    std::u16string text;
    double scale = 1.0;
    bool halfWidth = false;
};
HorizontalGlyph FitHorizontal(const CYbTxtMapper& mapper, const PageMapEntry& e,
                              std::u16string_view c);

bool DrawCondensed(CYbCharRenderer& renderer, CYbBitmap& target, int x, int y,
                   std::u16string_view text, int natural, int width, int height);

}  // namespace Yomibon
