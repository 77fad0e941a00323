// Ruby on the left of the column: set by the same rules as the ruby on the right (one
// reading character per base character, spread, from the base top, across a turn), then
// moved to the other side of its base.
#include "layout/map_builder.h"

namespace Yomibon::MapDetail {

void MapBuilder::placeLeftRuby(int line, int run) {
    placeRuby(line, run);
    // Right of the base: base x + text size + spacing. Left of it: base x - spacing - the
    // ruby's own width.
    const int32_t shift = geo_.textSize.size + 2 * geo_.rubySize.spacing;
    for (auto it = chars_.lower_bound({line, run, 0});
         it != chars_.end() && it->first.iLine == line && it->first.iIndex == run; ++it) {
        PageMapEntry& e = it->second;
        e.x -= shift + e.size;
        e.inkX -= shift + e.size;
    }
}

}  // namespace Yomibon::MapDetail
