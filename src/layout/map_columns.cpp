// Column geometry: where a column lies, its indent, bottom raise and character spacing.
#include <algorithm>

#include "layout/map_builder.h"

namespace Yomibon::MapDetail {

// The text of a box's first column is flush with the box's right edge; each column's ruby
// lane lies at its right, inside the pitch.
ColumnFrame MapBuilder::frameOf(int column, const LineState& state, bool firstOfLine) const {
    ColumnFrame f;
    f.column = column;
    const ColumnBox cb = FindColumnBox(geo_, column);
    if (cb.index < 0) return f;
    f.box = geo_.text[cb.index];
    f.x = f.box.right + geo_.textSize.spacing + geo_.rubySize.size + geo_.rubySize.spacing -
          (column - cb.firstColumn + 1) * geo_.pitch();
    // A column of larger type also takes the slot to its left: its axis lies between the two.
    if (buffer_.wideColumns().count(column)) f.x -= geo_.pitch() / 2;
    const int cells = firstOfLine ? state.indent : state.hangIndent;
    f.indent = indentOffset(f.box, cells);
    f.bottomAlign = state.bottom >= 0;
    f.raise =
        f.bottomAlign ? std::min(state.bottom, std::max(f.box.chars, 0)) * geo_.textSize.size : 0;
    return f;
}

int32_t MapBuilder::indentOffset(const LayoutBox& box, int cells) const {
    if (cells <= 0) return 0;
    const int64_t used = std::min(cells, box.chars - 1);
    if (used <= 0) return 0;
    return int32_t(int64_t(box.bottom - box.top) * used / std::max(box.chars, 1));
}

// A column that turned is justified to the end of its available height; the last column of
// a line keeps the box's natural spacing unless that would push it past the end.
int32_t MapBuilder::columnSpacing(const ColumnFrame& f, int32_t used, int cells,
                                  bool lastOfLine) const {
    const int chars = f.box.chars;
    if (chars < 2) return 0;
    const int32_t ts = geo_.textSize.size;
    const int32_t height = f.box.bottom - f.box.top;
    const int32_t avail = height - f.indent - f.raise;
    int32_t s = 0;
    if (!lastOfLine && cells >= 2) {
        s = (avail - used) / (cells - 1);
    } else if (lastOfLine && cells >= 1) {
        s = (height - ts * chars) / (chars - 1);
        if (cells >= 2 && used + int64_t(cells - 1) * s > avail) {
            const int left = ts > 0 ? chars - (height - avail) / ts : chars;
            s = left < cells ? (avail - used) / (cells - 1) : 0;
        }
    } else {
        s = (avail - ts * chars) / (chars - 1);
    }
    return std::max(s, 0);
}

void MapBuilder::startColumn(Cursor& cur, int32_t used, int cells, bool lastOfLine) const {
    const ColumnFrame& f = cur.frame;
    cur.spacing = columnSpacing(f, used, cells, lastOfLine);
    cur.y = f.box.top + f.indent;
    if (f.bottomAlign) {
        const int32_t end = f.box.bottom - f.raise - used;
        if (cur.y < end) {
            cur.y = end;
            cur.spacing = 0;
        }
    }
    cur.laneRight = cur.laneLeft = cur.lastY = cur.y;
    cur.lastAdvance = 0;
    cur.cells = 0;
}

}  // namespace Yomibon::MapDetail
