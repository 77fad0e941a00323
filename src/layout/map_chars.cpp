// Glyphs of a column: plain characters, small type in the two lanes, two-cell repeat
// marks, horizontal-in-vertical cells, narrowed punctuation and dropped characters.
#include <algorithm>
#include <bit>

#include "layout/map_builder.h"
#include "text/char_sizes.h"

namespace Yomibon::MapDetail {

namespace {

// Occupancy code: bit 3 is the top quarter of the cell, bit 0 the bottom one.
int SetQuarters(int32_t code) {
    return std::popcount(unsigned(code & 0xF));
}

int EmptyQuartersAbove(int32_t code) {
    int empty = 0;
    for (int bit = 3; bit >= 0 && !(code & (1 << bit)); --bit)
        ++empty;
    return empty;
}

}  // namespace

void MapBuilder::enter(const TextPoint& at, const PageMapEntry& entry, const Cursor& cur) {
    if (cur.place) chars_[at] = entry;
}

void MapBuilder::flushLanes(Cursor& cur) const {
    cur.y = std::max({cur.y, cur.laneRight, cur.laneLeft});
}

void MapBuilder::placeRunChars(int line, int run, const TextInfo& info, size_t from, size_t to,
                               Cursor& cur) {
    if (!cur.started) {
        cur.startState = cur.line;
        cur.started = true;
    }
    const int type = info.textType;
    const int32_t ts = geo_.textSize.size;
    if (IsMainTextType(type)) {
        const auto chars = RunChars(info.str);
        for (size_t p = from; p < std::min(to, chars.size()); ++p)
            placePlain({line, run, int(p)}, info, chars[p].c, cur);
    } else if (IsSmallType(type)) {
        placeSmall({line, run, 0}, info, from, to, cur);
    } else if (from > 0) {
        return;  // the kinds below are one cell, never split over two columns
    } else if (type == TT_HORIZONTAL || type == TT_AUTO_HORIZONTAL) {
        placeHorizontal({line, run, 0}, info, cur);
    } else if (type == TT_REPEAT_MARK || type == TT_VOICED_REPEAT_MARK) {
        placeCell({line, run, 0}, 2 * ts, cur);
    } else if (type == TT_EXTERNAL_CHAR) {
        placeCell({line, run, 0}, ts, cur);
    } else if (type == TT_SOUND_MARK) {
        const auto chars = RunChars(info.str);
        for (size_t p = 0; p < chars.size(); ++p)
            placeSoundMark({line, run, int(p)}, cur);
    }
}

void MapBuilder::placePlain(const TextPoint& at, const TextInfo& info, char32_t c, Cursor& cur) {
    const int32_t ts = geo_.textSize.size;
    const bool dropped = cur.dropping && RunPoint{at.iIndex, at.iPos} >= cur.dropFrom;
    if ((info.textType == TT_HANGING && cur.cells == 0) || dropped) {
        // Dropped at the column's start or end: present for the renderer, takes no room.
        const int32_t x = cur.frame.x;
        enter(at, {cur.frame.column, x, cur.y, 0, 0, 0, 0, x, cur.y}, cur);
        return;
    }
    flushLanes(cur);
    int32_t pad = 0;
    if (!pads_.empty()) {
        auto it = pads_.find({at.iIndex, at.iPos});
        if (it != pads_.end()) pad = it->second;
    }
    cur.y += pad;
    // Headings and larger or smaller characters: the glyph at its size, on the column's axis.
    const int32_t gs = int32_t(int64_t(ts) * buffer_.charSize(at) / kBodySize16);
    const int32_t x = cur.frame.x + (ts - gs) / 2;
    const int32_t height = IsHalfWidthChar(info, c) ? gs / 2 : gs;
    int32_t advance = info.textType == TT_RESERVED_82 ? 0 : height + cur.spacing;
    int32_t inkY = cur.y;
    const auto narrow = buffer_.narrowMarks().find(at);
    if (narrow != buffer_.narrowMarks().end() && SetQuarters(narrow->second) > 0) {
        inkY = cur.y - advance * EmptyQuartersAbove(narrow->second) / 4;
        advance = advance * SetQuarters(narrow->second) / 4;
    }
    if (info.textType != TT_RESERVED_82) {
        noteGlyph(cur, at, c);
        advance += gapAfter(cur, at);
    }
    enter(at, {cur.frame.column, x, cur.y, advance, gs, height, gs, x, inkY}, cur);
    cur.lastY = cur.y;
    cur.lastAdvance = advance;
    cur.y += advance + pad;
    if (info.textType != TT_RESERVED_82) ++cur.cells;
}

// Small type runs down its own half of the column, starting level with the main text;
// the main text resumes below the longer lane.
void MapBuilder::placeSmall(const TextPoint& at, const TextInfo& info, size_t from, size_t to,
                            Cursor& cur) {
    const int32_t ts = geo_.textSize.size;
    const bool left = IsLeftLaneType(info.textType);
    int32_t& lane = left ? cur.laneLeft : cur.laneRight;
    lane = std::max(lane, cur.y);
    const int32_t x = cur.frame.x + (left ? 0 : ts / 2);
    const auto chars = RunChars(info.str);
    for (size_t p = from; p < std::min(to, chars.size()); ++p) {
        const int32_t height = IsHalfWidthChar(info, chars[p].c) ? ts / 4 : ts / 2;
        enter({at.iLine, at.iIndex, int(p)},
              {cur.frame.column, x, lane, height, ts / 2, height, ts / 2, x, lane}, cur);
        lane += height;
    }
}

// The run's characters side by side across one cell, centred on the column.
void MapBuilder::placeHorizontal(const TextPoint& at, const TextInfo& info, Cursor& cur) {
    const int32_t ts = geo_.textSize.size;
    flushLanes(cur);
    const auto chars = RunChars(info.str);
    if (chars.empty()) return;
    const int32_t n = int32_t(chars.size());
    // Wider than the column: condensed to its width, so that it never reaches into the
    // neighbouring columns; the renderer narrows each glyph to its entry's width.
    const int32_t w = std::min(IsHalfWidthChar(info, chars[0].c) ? ts / 2 : ts, ts / n);
    const int32_t x0 = cur.frame.x + ts / 2 - n * w / 2;
    noteGlyph(cur, at, U'字');
    const int32_t advance = ts + cur.spacing + gapAfter(cur, at);
    for (int32_t i = 0; i < n; ++i) {
        const int32_t x = x0 + i * w;
        enter({at.iLine, at.iIndex, i}, {cur.frame.column, x, cur.y, advance, w, ts, w, x, cur.y},
              cur);
    }
    cur.lastY = cur.y;
    cur.lastAdvance = advance;
    cur.y += advance;
    ++cur.cells;
}

void MapBuilder::placeCell(const TextPoint& at, int32_t height, Cursor& cur) {
    const int32_t ts = geo_.textSize.size;
    flushLanes(cur);
    const int32_t x = cur.frame.x;
    noteGlyph(cur, at, U'字');
    const int32_t advance = height + cur.spacing + gapAfter(cur, at);
    enter(at, {cur.frame.column, x, cur.y, advance, ts, height, ts, x, cur.y}, cur);
    cur.lastY = cur.y;
    cur.lastAdvance = advance;
    cur.y += advance;
    ++cur.cells;
}

// A stand-alone sound mark takes no room of its own: it is set over the character before
// it, where its glyph (drawn in the cell's upper right) combines with that character.
void MapBuilder::placeSoundMark(const TextPoint& at, Cursor& cur) {
    const int32_t ts = geo_.textSize.size;
    const int32_t x = cur.frame.x;
    const int32_t y = cur.cells > 0 ? cur.lastY : cur.y;
    enter(at, {cur.frame.column, x, y, cur.cells > 0 ? cur.lastAdvance : ts, ts, ts, ts, x, y},
          cur);
}

}  // namespace Yomibon::MapDetail
