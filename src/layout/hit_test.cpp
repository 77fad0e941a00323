// Pixel points back to characters: the character under a point, and the nearest one for a
// selection dragged outside every character.
#include <algorithm>
#include <climits>
#include <tuple>

#include "layout/txt_mapper.h"

namespace Yomibon {

bool CYbTxtMapper::isSelectable(const TextPoint& point) const {
    return std::binary_search(selectable_.begin(), selectable_.end(), point);
}

// The first selectable entry in key order whose cell holds the point; a cell narrower than
// the text font (small type, half-width) is hit across the font's width.
bool CYbTxtMapper::HitTest(int px, int py, TextPoint& point, PageMapEntry& entry) const {
    for (const TextPoint& key : selectable_) {
        const PageMapEntry& e = chars_.at(key);
        if (e.height <= 0) continue;
        if (!(e.x < px && (px < e.x + e.size || px < e.x + fonts_.text))) continue;
        if (!(e.y < py && py < e.y + e.advance)) continue;
        if (!inSpread(e.iColumn)) return false;
        point = key;
        entry = e;
        return true;
    }
    return false;
}

namespace {

int32_t Distance(int32_t v, int32_t lo, int32_t hi) {
    if (v < lo) return lo - v;
    if (v >= hi) return v - hi + 1;
    return 0;
}

}  // namespace

// The point is clamped to the paper and caught by a text box; within the box's columns the
// nearest column wins, and in it the nearest character: above the column its first
// character, below it its last.
bool CYbTxtMapper::NearestCharacter(int px, int py, TextPoint& point, PageMapEntry& entry) const {
    if (paper_.width() > 0 && paper_.height() > 0) {
        px = std::clamp(px, paper_.left, paper_.right - 1);
        py = std::clamp(py, paper_.top, paper_.bottom - 1);
    }
    int lo = firstColumn_;
    int hi = firstColumn_ + geometry_.columnsPerSpread - 1;
    for (const MapBoxRect& r : boxRects_) {
        if (r.catchArea.contains(px, py) || r.box.contains(px, py)) {
            lo = firstColumn_ + r.firstColumn;
            hi = firstColumn_ + r.lastColumn;
            break;
        }
    }
    bool found = false;
    std::tuple<int32_t, int32_t> best{INT32_MAX, INT32_MAX};
    for (const TextPoint& key : selectable_) {
        const PageMapEntry& e = chars_.at(key);
        if (e.iColumn < lo || e.iColumn > hi || !inSpread(e.iColumn)) continue;
        const auto d = std::make_tuple(Distance(px, e.x, e.x + std::max(e.size, 1)),
                                       Distance(py, e.y, e.y + std::max(e.advance, 1)));
        if (d < best) {
            best = d;
            point = key;
            entry = e;
            found = true;
        }
    }
    return found;
}

}  // namespace Yomibon
