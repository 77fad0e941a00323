// Page decorations: the nombres of the two pages and the running head, set left to right
// in their boxes.
#include <algorithm>

#include "layout/map_builder.h"

namespace Yomibon::MapDetail {

void MapBuilder::placeDecorations(const std::vector<TextInfo>& decorations) {
    for (int i = 0; i < int(decorations.size()); ++i) {
        const int type = decorations[i].textType;
        if (type == TT_NOMBRE_ODD || type == TT_NOMBRE_EVEN)
            placeNombre(decorations[i], i);
        else if (type == TT_RUNNING_HEAD)
            placeRunningHead(decorations[i], i);
    }
}

// Entry 0 (odd pages) is aligned by placement 0 start, 1 centre, 2 end; entry 1 (even
// pages) mirrors it, so that "outside" and "inside" mean the same on both pages.
void MapBuilder::placeNombre(const TextInfo& run, int number) {
    const int which = run.textType == TT_NOMBRE_ODD ? 0 : 1;
    if (which >= int(geo_.nombre.size())) return;
    const LayoutBox& box = geo_.nombre[which];
    if (box.lines < 1) return;
    const SizePair ns = geo_.nombreSize;
    const auto chars = RunChars(run.str);
    if (chars.empty()) return;
    std::vector<PageMapEntry> entries;
    int32_t x = box.left;
    for (const RunChar& rc : chars) {
        const int32_t w = IsHalfWidthChar(run, rc.c) ? ns.size / 2 : ns.size;
        entries.push_back({c0_, x, box.top, ns.size, w, ns.size, w, x, box.top});
        x += w + ns.spacing;
    }
    const int32_t used = x - ns.spacing - box.left;
    const int32_t room = box.right - box.left;
    static constexpr int kAlign[2][3] = {{0, 1, 2}, {2, 1, 0}};
    const int placement = std::clamp(geo_.nombrePlacement, 0, 2);
    const int align = kAlign[which][placement];
    const int32_t shift = align == 1 ? (room - used) / 2 : align == 2 ? room - used : 0;
    for (int k = 0; k < int(entries.size()); ++k) {
        entries[k].x += shift;
        entries[k].inkX += shift;
        decos_[{0, k, number}] = entries[k];
    }
}

// A heading longer than its box is cut at the box's right edge rather than run over the
// facing page.
void MapBuilder::placeRunningHead(const TextInfo& run, int number) {
    if (geo_.runningHead.empty()) return;
    const LayoutBox& box = geo_.runningHead[0];
    const SizePair hs = geo_.headSize;
    int32_t x = box.left;
    int k = 0;
    for (const RunChar& rc : RunChars(run.str)) {
        const int32_t w = IsHalfWidthChar(run, rc.c) ? hs.size / 2 : hs.size;
        if (x + w > box.right) break;
        decos_[{0, k++, number}] = {c0_, x, box.top, hs.size, w, hs.size, w, x, box.top};
        x += w + hs.spacing;
    }
}

}  // namespace Yomibon::MapDetail
