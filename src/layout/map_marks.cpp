// Emphasis marks, side lines, range boxes and link ranges: one entry per covered character.
#include "layout/map_builder.h"

namespace Yomibon::MapDetail {

// Each entry copies the covered character's cell, moved into the lane beside it (right
// side, left side, or on the character for strike-through lines and boxes).
void MapBuilder::placeMarks(int line, int run) {
    const TextInfo& info = buffer_.lines()[line].runs[run];
    int side = 0;
    if (!MarkSide(info.textType, info, side)) return;
    const int32_t ts = geo_.textSize.size;
    int k = 0;
    for (const TargetChar& tc : TargetChars(buffer_, line, run)) {
        if (tc.type == TT_EXTERNAL_CHAR) continue;
        auto it = chars_.find(tc.at);
        if (it == chars_.end() || it->second.height <= 0 || it->second.size <= 0) continue;
        PageMapEntry e = it->second;
        e.x += side * ts;
        e.inkX += side * ts;
        e.size = ts;
        chars_[{line, run, k++}] = e;
    }
}

}  // namespace Yomibon::MapDetail
