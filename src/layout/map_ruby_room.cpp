// Room for a reading longer than its base: the glyphs before and after the base, one ruby
// character over a kana without ruby of its own, never over a kanji or another reading.
#include <algorithm>
#include <climits>

#include "layout/map_ruby_parts.h"
#include "layout/ruby_side.h"
#include "platform/utf16.h"

namespace Yomibon::MapDetail {

namespace {

bool IsKana(char32_t c) {
    return (c >= 0x3041 && c <= 0x309F) || (c >= 0x30A1 && c <= 0x30FF);
}

// A ruby run follows its base: only the first one after the point can cover it.
bool CoveredByRuby(const std::vector<TextInfo>& runs, const TextPoint& at) {
    const RunPoint p{at.iIndex, at.iPos};
    const size_t stop = std::min(runs.size(), size_t(std::max(0, at.iIndex)) + 64);
    for (size_t r = size_t(std::max(0, at.iIndex)) + 1; r < stop; ++r) {
        const TextInfo& run = runs[r];
        if (!IsRubyType(run.textType) || IsLeftSideRuby(runs, int(r))) continue;
        RunPoint e = run.tpEnd;
        if (e.iPos < 0) e.iPos = INT32_MAX;
        return !(p < run.tpBegin) && !(e < p);
    }
    return false;
}

// The main-lane glyph next to `from` (before it for step -1) in the same column of the
// line, skipping ruby, marks and characters that take no room.
bool NeighbourGlyph(const PageMap& chars, const CYbTxtBuffer& buffer, const TextPoint& from,
                    int step, int column, TextPoint& at, PageMapEntry& entry) {
    const auto& runs = buffer.lines()[from.iLine].runs;
    auto it = chars.find(from);
    for (int guard = 0; it != chars.end() && guard < 256; ++guard) {
        if (step < 0) {
            if (it == chars.begin()) return false;
            --it;
        } else if (++it == chars.end()) {
            return false;
        }
        if (it->first.iLine != from.iLine) return false;
        const PageMapEntry& e = it->second;
        if (!IsMainTextType(runs[it->first.iIndex].textType) &&
            !IsBaseCharType(runs[it->first.iIndex].textType))
            continue;
        if (e.height <= 0 || e.advance <= 0) continue;
        // An external character's further entries are its note number and note text.
        if (runs[it->first.iIndex].textType == TT_EXTERNAL_CHAR && it->first.iPos > 0) continue;
        if (e.iColumn != column) return false;
        at = it->first;
        entry = e;
        return true;
    }
    return false;
}

int32_t PadOf(const std::map<RunPoint, int32_t>& pads, const TextPoint& at) {
    auto it = pads.find({at.iIndex, at.iPos});
    return it == pads.end() ? 0 : it->second;
}

char32_t CharAt(const CYbTxtBuffer& buffer, const TextPoint& at) {
    const TextInfo& run = buffer.lines()[at.iLine].runs[at.iIndex];
    if (run.textType != TT_TEXT && run.textType != TT_DASH) return 0;
    const size_t i = CharOffset(run.str, size_t(at.iPos));
    return i < run.str.size() ? CodePointAt(run.str, i) : 0;
}

}  // namespace

Room RubyRoom(const PageMap& chars, const CYbTxtBuffer& buffer,
              const std::map<RunPoint, int32_t>& pads, const RubyRun& ruby, const BasePart& p,
              int32_t bottom) {
    const auto& runs = buffer.lines()[ruby.line].runs;
    const PageMapEntry& first = p.entries.front();
    const PageMapEntry& last = p.entries.back();
    Room room;
    room.c0 = first.y - PadOf(pads, p.points.front());
    room.c1 = last.y + std::min(last.height, last.advance) + PadOf(pads, p.points.back());
    const int32_t bound = ruby.bound == INT32_MIN ? INT32_MIN : ruby.bound;
    TextPoint at;
    PageMapEntry e;
    room.lo = room.c0;
    if (NeighbourGlyph(chars, buffer, p.points.front(), -1, p.column, at, e)) {
        const bool free = IsKana(CharAt(buffer, at)) && !CoveredByRuby(runs, at) && bound <= e.y;
        room.lo = e.y + std::min(e.height, e.advance) - (free ? ruby.g : 0);
    }
    room.lo = std::max(room.lo, bound);
    // A base hanging below the box, with the room spread after it, takes its reading along.
    room.hi = room.bottom = std::max(bottom, room.c1);
    if (NeighbourGlyph(chars, buffer, p.points.back(), 1, p.column, at, e)) {
        const bool free = IsKana(CharAt(buffer, at)) && !CoveredByRuby(runs, at);
        room.hi = std::min(room.bottom, e.y + (free ? ruby.g : 0));
    }
    return room;
}

// A reading longer than its base is centred over it (and the room the arranger spread
// around it), between `lo` and `hi`: it never covers a neighbouring kanji or reading.
void SetCentred(const RubyRun& ruby, const BasePart& p, const Room& room, RubySink& sink) {
    int32_t start = std::max(room.lo, (room.c0 + room.c1 - ruby.length) / 2);
    if (start + ruby.length > room.hi) start = std::max(room.lo, room.hi - ruby.length);
    // The page edge is harder than a neighbour.
    if (start + ruby.length > room.bottom) start = room.bottom - ruby.length;
    for (int k = 0; k < int(ruby.chars.size()); ++k)
        sink.put(k, p, p.rubyX, start + k * ruby.g, ruby.g);
}

}  // namespace Yomibon::MapDetail
