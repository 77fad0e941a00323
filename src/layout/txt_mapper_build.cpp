// The build of one spread: which lines are placed, and the walk through their columns.
#include <algorithm>
#include <climits>

#include "layout/map_builder.h"
#include "layout/ruby_side.h"
#include "platform/utf16.h"

namespace Yomibon::MapDetail {

namespace {

// Parameters beyond any box are cut here, so that no length computed from them overflows.
constexpr int kMaxCells = 100000;

// Indent and bottom runs change the state of the line they stand in.
bool ApplyToLine(const TextInfo& run, LineState& state) {
    switch (run.textType) {
        case TT_LINE_INDENT:
        case TT_INDENT_START:
            state.indent = std::clamp(run.tpBegin.iIndex, 0, kMaxCells);
            state.hangIndent = std::clamp(run.tpEnd.iIndex, 0, kMaxCells);
            return true;
        case TT_INDENT_END:
            state.indent = state.hangIndent = 0;
            return true;
        case TT_LINE_BOTTOM:
        case TT_BOTTOM_START:
            state.bottom = std::clamp(run.tpBegin.iIndex, 0, kMaxCells);
            return true;
        case TT_BOTTOM_END:
            return true;  // ends the block; the line it stands in stays aligned
        default:
            return false;
    }
}

bool IsControlType(int type) {
    return type == TT_LINE_INDENT || type == TT_INDENT_START || type == TT_INDENT_END ||
           type == TT_LINE_BOTTOM || type == TT_BOTTOM_START || type == TT_BOTTOM_END;
}

}  // namespace

MapBuilder::MapBuilder(const CYbTxtBuffer& buffer, const MapGeometry& geometry,
                       const MapOptions& options, PageMap& chars, PageMap& decos)
    : buffer_(buffer), geo_(geometry), options_(options), chars_(chars), decos_(decos) {
    for (const RunChar& rc : RunChars(options.startList))
        startSet_.insert(rc.c);
    for (const RunChar& rc : RunChars(options.skipList))
        skipSet_.insert(rc.c);
}

void MapBuilder::build(const std::vector<TextInfo>& decorations, int firstColumn) {
    c0_ = firstColumn;
    c1_ = firstColumn + geo_.columnsPerSpread;
    notes_ = 0;
    const auto& lines = buffer_.lines();
    // Lines are in column order: the first one placed is the first that reaches c0.
    auto it = std::partition_point(lines.begin(), lines.end(),
                                   [&](const LineInfo& l) { return l.iNextCol <= c0_; });
    for (int line = int(it - lines.begin()); line < int(lines.size()); ++line) {
        if (lines[line].iStartCol >= c1_) break;
        placeLine(line);
    }
    placeDecorations(decorations);
}

void MapBuilder::placeLine(int line) {
    const LineInfo& info = buffer_.lines()[line];
    const auto& turns = info.turns;
    size_t t = 0;
    while (t < turns.size() && turns[t].iColumn < c0_)
        ++t;
    if (t == turns.size() || turns[t].iColumn >= c1_) return;
    LineState state{info.iIndent, info.iHangIndent, info.iBottom};
    // A line entered inside the spread's first column carries the indents set before it.
    if (t > 0) prescanLine(line, {turns[t].iIndex, turns[t].iPos}, state);
    lineColumns_.clear();
    collectPads(line);
    for (; t < turns.size() && turns[t].iColumn < c1_; ++t)
        placeColumn(line, t, state);
    placeAnnotations(line);
}

void MapBuilder::prescanLine(int line, const RunPoint& upTo, LineState& state) const {
    const auto& runs = buffer_.lines()[line].runs;
    for (int r = 0; r < int(runs.size()) && r < upTo.iIndex; ++r) {
        ApplyToLine(runs[r], state);
    }
}

// A column is walked twice: once to measure the length its glyphs take, then to place
// them with the spacing that length calls for.
void MapBuilder::placeColumn(int line, size_t t, LineState& state) {
    const auto& turns = buffer_.lines()[line].turns;
    const TextTurnPos& turn = turns[t];
    const bool last = t + 1 == turns.size();
    Span span;
    span.begin = {turn.iIndex, turn.iPos};
    if (!last) span.end = {turns[t + 1].iIndex, turns[t + 1].iPos};
    LineState colState = state;
    if (turn.iBottom >= 0) colState.bottom = turn.iBottom;

    Cursor m;
    m.line = colState;
    m.frame.column = turn.iColumn;
    walkColumn(line, span, m);
    // Spaces the arranger dropped at the end of a column that turned take no room there,
    // whether or not their run was retyped: without this a run of them would hang far
    // below the box.
    RunPoint dropFrom;
    const int32_t counted = turn.iLength * geo_.textSize.size / 4 + geo_.textSize.size / 4;
    const int32_t withSkips = std::max({m.y, m.laneRight, m.laneLeft});
    if (!last && withSkips > counted && trailingSkips(line, span, dropFrom)) {
        m = Cursor{};
        m.line = colState;
        m.frame.column = turn.iColumn;
        m.dropping = true;
        m.dropFrom = dropFrom;
        walkColumn(line, span, m);
    }
    if (!m.started) m.startState = m.line;
    const int32_t used = std::max({m.y, m.laneRight, m.laneLeft});

    // The arranger records a bottom run met inside a column on the column and the line
    // as a whole; only the text after it goes to the bottom.
    LineState start = m.startState;
    if (!m.bottomMarks.empty()) start.bottom = t == 0 ? -1 : state.bottom;
    Cursor p;
    p.place = true;
    p.dropping = m.dropping;
    p.dropFrom = m.dropFrom;
    p.line = start;
    p.frame = frameOf(turn.iColumn, start, t == 0);
    startColumn(p, used, m.cells, last);
    // The dropped spaces keep their room at the column's end rather than become gaps.
    if (options_.strict && !last)
        justifyStrict(line, m, p, used, m.dropping ? std::max(0, withSkips - used) : 0);
    for (int32_t mark : m.bottomMarks)
        p.bottomRest.push_back(used - mark);
    walkColumn(line, span, p);

    state = m.line;
    lineColumns_.push_back(p.frame);
}

// The start of the characters of the skip list that end a column's span, if any.
bool MapBuilder::trailingSkips(int line, const Span& span, RunPoint& from) const {
    const auto& runs = buffer_.lines()[line].runs;
    const int endRun = span.end.iIndex;
    bool open = false;
    for (int r = std::max(0, span.begin.iIndex); r < int(runs.size()); ++r) {
        if (endRun >= 0 && r > endRun) break;
        const TextInfo& info = runs[r];
        if (!IsMainTextType(info.textType)) {
            if (IsBaseCharType(info.textType)) open = false;
            continue;
        }
        const auto chars = RunChars(info.str);
        const int first = r == span.begin.iIndex ? std::max(0, span.begin.iPos) : 0;
        const int to = endRun >= 0 && r == endRun ? std::min(span.end.iPos, int(chars.size()))
                                                  : int(chars.size());
        for (int p = first; p < to; ++p) {
            if (!skipSet_.count(chars[p].c)) {
                open = false;
            } else if (!open) {
                open = true;
                from = {r, p};
            }
        }
    }
    return open;
}

void MapBuilder::walkColumn(int line, const Span& span, Cursor& cur) {
    const auto& runs = buffer_.lines()[line].runs;
    const int endRun = span.end.iIndex;
    for (int r = std::max(0, span.begin.iIndex); r < int(runs.size()); ++r) {
        if (endRun >= 0 && r > endRun) break;
        const int from = r == span.begin.iIndex ? std::max(0, span.begin.iPos) : 0;
        const int to = endRun >= 0 && r == endRun ? span.end.iPos : INT_MAX;
        if (to <= from) break;
        const TextInfo& info = runs[r];
        if (IsControlType(info.textType))
            applyControl(info, cur);
        else if (!info.str.empty())
            placeRunChars(line, r, info, size_t(from), size_t(to), cur);
    }
}

// Indent and bottom runs before the column's first glyph shape the column itself; a later
// indent applies from the next column on (the arranger moves the text after it there), a
// later bottom run moves the rest of the column down to the raised bottom.
void MapBuilder::applyControl(const TextInfo& run, Cursor& cur) {
    if (!ApplyToLine(run, cur.line)) return;
    if (!cur.started) return;
    const int type = run.textType;
    if (type != TT_LINE_BOTTOM && type != TT_BOTTOM_START) return;
    const int32_t reached = std::max({cur.y, cur.laneRight, cur.laneLeft});
    if (!cur.place) {
        cur.bottomMarks.push_back(reached);
        return;
    }
    if (cur.bottomIndex >= cur.bottomRest.size()) return;
    const int32_t rest = cur.bottomRest[cur.bottomIndex++];
    const int raise = std::min(cur.line.bottom, std::max(cur.frame.box.chars, 0));
    const int32_t end = cur.frame.box.bottom - raise * geo_.textSize.size - rest;
    if (end > reached) {
        cur.y = cur.laneRight = cur.laneLeft = end;
        cur.spacing = 0;
    }
}

void MapBuilder::placeAnnotations(int line) {
    const auto& runs = buffer_.lines()[line].runs;
    for (int r = 0; r < int(runs.size()); ++r) {
        const int type = runs[r].textType;
        int side = 0;
        if (IsLeftSideRuby(runs, r))
            placeLeftRuby(line, r);
        else if (IsRubyType(type))
            placeRuby(line, r);
        else if (MarkSide(type, runs[r], side))
            placeMarks(line, r);
        else if (IsNoteType(type) || type == TT_EXTERNAL_CHAR)
            placeNote(line, r);
        else if (type == TT_BOX_START || type == TT_BOX_END)
            placeBlock(line, r);
    }
}

}  // namespace Yomibon::MapDetail
