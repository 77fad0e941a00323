// The ruby mapper's parts: a base's share of each column, the reading being set, and the
// ways a reading is set beside its base.
#pragma once

#include <climits>
#include <map>
#include <set>
#include <vector>

#include "layout/map_builder.h"

namespace Yomibon::MapDetail {

// The base's share of one column.
struct BasePart {
    int column = 0;
    int32_t top = INT32_MAX;
    int32_t end = INT32_MIN;
    int32_t rubyX = INT32_MIN;
    int32_t bottom = INT32_MAX;  // the bottom of its box
    std::set<int32_t> cells;     // tops of its cells (a horizontal cell counts once)
    std::vector<PageMapEntry> entries;
    std::vector<TextPoint> points;
};

// One ruby run being set: its characters and the sizes they take.
struct RubyRun {
    int line = 0;
    int run = 0;
    std::vector<RunChar> chars;
    SizePair size;
    int32_t g = 0;              // advance of one ruby character
    int32_t length = 0;         // n × g
    int32_t bound = INT32_MIN;  // end of the preceding ruby in the same column
    int offset = 0;             // number of the first character set on this spread
};

// Enters the ruby characters into the character map.
class RubySink {
  public:
    RubySink(PageMap& chars, const RubyRun& ruby) : chars_(chars), ruby_(ruby) {}
    void put(int k, const BasePart& p, int32_t x, int32_t y, int32_t advance) {
        const int32_t s = ruby_.size.size;
        chars_[{ruby_.line, ruby_.run, ruby_.offset + k}] = {p.column, x, y, advance, s,
                                                             ruby_.g,  s, x, y};
    }

  private:
    PageMap& chars_;
    const RubyRun& ruby_;
};

// Where a reading longer than its base may lie: from the end of the glyph before the base
// (one ruby character earlier over a kana without ruby) to the top of the glyph after it
// (one ruby character later over such a kana), never over the preceding reading, inside
// the box; c0..c1 is the base with the room spread around it.
struct Room {
    int32_t lo = 0;
    int32_t hi = 0;
    int32_t c0 = 0;
    int32_t c1 = 0;
    int32_t bottom = 0;
};

// Readings in step with their base (map_ruby_shares.cpp).
// A base split over columns: each part gets its share of the reading.
void SetAcrossTurn(const RubyRun& ruby, const std::vector<BasePart>& parts,
                   const std::set<char32_t>& startSet, RubySink& sink);
void SetPerCell(const RubyRun& ruby, const BasePart& p, RubySink& sink);
void SetSpreadOverBase(const RubyRun& ruby, const BasePart& p, int32_t rubySpacing, RubySink& sink);
void SetFromTop(const RubyRun& ruby, const BasePart& p, int32_t boxBottom, RubySink& sink);

// Readings longer than their base, between their neighbours (map_ruby_room.cpp).
Room RubyRoom(const PageMap& chars, const CYbTxtBuffer& buffer,
              const std::map<RunPoint, int32_t>& pads, const RubyRun& ruby, const BasePart& p,
              int32_t bottom);
void SetCentred(const RubyRun& ruby, const BasePart& p, const Room& room, RubySink& sink);

}  // namespace Yomibon::MapDetail
