// Ruled blocks: one entry per column of the line that a block run stands in, carrying in
// `width` the sides the renderer closes there (bit 0 right, where the block begins; bit 1
// left, where it ends).
#include <algorithm>

#include "layout/map_builder.h"

namespace Yomibon::MapDetail {

void MapBuilder::placeBlock(int line, int run) {
    const TextInfo& info = buffer_.lines()[line].runs[run];
    if (lineColumns_.empty()) return;
    const int32_t ts = geo_.textSize.size;
    const int32_t pitch = geo_.pitch();
    // Nested blocks sit inside the blocks around them.
    const int depth = info.chrType == 0xFFFF ? 1 : std::clamp<int>(info.chrType, 1, 16);
    const int32_t inset = (depth - 1) * std::max(geo_.textSize.spacing, ts / 8);
    const int last = int(lineColumns_.size()) - 1;
    for (int k = 0; k <= last; ++k) {
        const ColumnFrame& f = lineColumns_[k];
        const int32_t x = f.x - geo_.textSize.spacing / 2 + inset;
        const int32_t top = f.box.top + indentOffset(f.box, info.tpBegin.iIndex) + inset;
        const int32_t bottom =
            f.box.bottom - std::clamp(info.tpBegin.iPos, 0, std::max(f.box.chars, 0)) * ts - inset;
        if (bottom <= top) continue;
        int32_t sides = 0;
        if (info.textType == TT_BOX_START && info.tpEnd.iPos == 0 && k == 0) sides |= 1;
        if (info.textType == TT_BOX_END && k == last) sides |= 2;
        chars_[{line, run, k}] = {f.column,     x,     top, bottom - top, pitch - 2 * inset,
                                  bottom - top, sides, x,   top};
    }
}

}  // namespace Yomibon::MapDetail
