// Internal: the state of one spread's build, shared by the map_*.cpp files.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "layout/txt_mapper.h"

namespace Yomibon::MapDetail {

// Indent and bottom state carried through the columns of one buffer line.
struct LineState {
    int indent = 0;      // cells, first column
    int hangIndent = 0;  // cells, further columns
    int bottom = -1;     // bottom raise in cells while bottom alignment is on, else -1
};

// Geometry of one column.
struct ColumnFrame {
    int column = 0;
    LayoutBox box;
    int32_t x = 0;       // left edge of the text
    int32_t indent = 0;  // indent offset from the box top
    int32_t raise = 0;   // bottom raise in layout units
    bool bottomAlign = false;
};

// The running cursor of one column (PageCursor of the build).
struct Cursor {
    ColumnFrame frame;
    int32_t y = 0;
    int32_t laneRight = 0;
    int32_t laneLeft = 0;
    int32_t spacing = 0;
    int cells = 0;  // glyphs placed in the main lane
    int32_t lastY = 0;
    int32_t lastAdvance = 0;
    bool place = false;  // false while only measuring
    LineState line;
    LineState startState;              // the line state when the first glyph was placed
    bool started = false;              // a glyph (main lane or small type) has been placed
    std::vector<int32_t> bottomMarks;  // y at each mid-column bottom run (measuring)
    size_t bottomIndex = 0;
    std::vector<int32_t> bottomRest;  // length after each such run (placing)
    bool dropping = false;            // characters from dropFrom on take no room
    RunPoint dropFrom;
    // Strict justification: the glyphs met while measuring, and the room set after each.
    std::vector<std::pair<TextPoint, char32_t>> glyphs;
    std::map<TextPoint, int32_t> gapAfter;
};

// One column's share of a line: from `begin` up to `end` (exclusive); end.iIndex < 0
// runs to the end of the line.
struct Span {
    RunPoint begin;
    RunPoint end{-1, 0};
};

class MapBuilder {
  public:
    MapBuilder(const CYbTxtBuffer& buffer, const MapGeometry& geometry, const MapOptions& options,
               PageMap& chars, PageMap& decos);
    void build(const std::vector<TextInfo>& decorations, int firstColumn);

    // Exposed for the free functions of the other files.
    const MapGeometry& geometry() const { return geo_; }

  private:
    // txt_mapper_build.cpp: lines and columns of the spread
    void placeLine(int line);
    void prescanLine(int line, const RunPoint& upTo, LineState& state) const;
    void placeColumn(int line, size_t turn, LineState& state);
    void walkColumn(int line, const Span& span, Cursor& cur);
    void applyControl(const TextInfo& run, Cursor& cur);
    bool trailingSkips(int line, const Span& span, RunPoint& from) const;

    // map_columns.cpp: column geometry
    ColumnFrame frameOf(int column, const LineState& state, bool firstOfLine) const;
    int32_t indentOffset(const LayoutBox& box, int cells) const;
    int32_t columnSpacing(const ColumnFrame& frame, int32_t used, int cells, bool lastOfLine) const;
    void startColumn(Cursor& cur, int32_t used, int cells, bool lastOfLine) const;

    // map_justify.cpp: strict justification, the column's room set only where a reader
    // expects it
    // `dropped`: the room of spaces dropped at the column's end, which stays empty.
    void justifyStrict(int line, Cursor& measured, Cursor& cur, int32_t used,
                       int32_t dropped) const;
    int32_t gapAfter(const Cursor& cur, const TextPoint& at) const;
    void noteGlyph(Cursor& cur, const TextPoint& at, char32_t c) const;

    // map_chars.cpp: glyphs of the main column and the small-type lanes
    void placeRunChars(int line, int run, const TextInfo& info, size_t from, size_t to,
                       Cursor& cur);
    void placePlain(const TextPoint& at, const TextInfo& info, char32_t c, Cursor& cur);
    void placeSmall(const TextPoint& at, const TextInfo& info, size_t from, size_t to, Cursor& cur);
    void placeHorizontal(const TextPoint& at, const TextInfo& info, Cursor& cur);
    void placeCell(const TextPoint& at, int32_t height, Cursor& cur);
    void placeSoundMark(const TextPoint& at, Cursor& cur);
    void flushLanes(Cursor& cur) const;
    void enter(const TextPoint& at, const PageMapEntry& entry, const Cursor& cur);

    // map_ruby.cpp
    void placeRuby(int line, int run);
    // The room the arranger added around spread ruby bases of a line, per base character.
    void collectPads(int line);
    // map_left_ruby.cpp
    void placeLeftRuby(int line, int run);
    // map_marks.cpp: emphasis marks, side lines, range boxes, links
    void placeMarks(int line, int run);
    // map_notes.cpp
    void placeNote(int line, int run);
    void placeNoteColumn(const TextPoint& key, int first, const std::u16string& mark,
                         const std::u16string& text);
    // map_blocks.cpp: ruled blocks
    void placeBlock(int line, int run);
    // map_decorations.cpp
    void placeDecorations(const std::vector<TextInfo>& decorations);
    void placeNombre(const TextInfo& run, int number);
    void placeRunningHead(const TextInfo& run, int number);

    void placeAnnotations(int line);

    const CYbTxtBuffer& buffer_;
    const MapGeometry& geo_;
    const MapOptions& options_;
    PageMap& chars_;
    PageMap& decos_;
    std::set<char32_t> startSet_;
    std::set<char32_t> skipSet_;
    int c0_ = 0;
    int c1_ = 0;
    int notes_ = 0;
    // Layout units set before and after each character of a spread ruby base.
    std::map<RunPoint, int32_t> pads_;
    // Columns of the spread that the current line occupies, in order.
    std::vector<ColumnFrame> lineColumns_;
};

// Kinds of runs.
bool IsMainTextType(int type);  // plain-like glyphs of the main lane
bool IsSmallType(int type);     // small type in a lane
bool IsLeftLaneType(int type);
bool IsBaseCharType(int type);  // characters a ruby or mark may cover
bool IsRubyType(int type);
bool IsNoteType(int type);
// x offset of a mark's entries from its base character: +1, 0 or -1 text sizes; the
// second value is false for types that are no marks.
bool MarkSide(int type, const TextInfo& run, int& side);
bool IsHalfWidthChar(const TextInfo& run, char32_t c);

// Characters of a run between two character indices, as (unit offset, code point).
struct RunChar {
    size_t index;
    char32_t c;
};
std::vector<RunChar> RunChars(const std::u16string& s);

// Characters covered by an annotation run (range in the same line), in order, with the
// run each belongs to. Out-of-range indices are clamped.
struct TargetChar {
    TextPoint at;
    int type;
};
std::vector<TargetChar> TargetChars(const CYbTxtBuffer& buffer, int line, int run);

}  // namespace Yomibon::MapDetail
