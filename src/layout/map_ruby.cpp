// Ruby beside its base: one reading character per base character, spread over a longer
// base, centred over a shorter one between its neighbours, and continued over a base split
// in two.
#include <algorithm>
#include <climits>
#include <set>

#include "layout/map_builder.h"
#include "layout/ruby_side.h"
#include "platform/utf16.h"

namespace Yomibon::MapDetail {

namespace {

// Most columns one base is followed through.
constexpr size_t kMostParts = 16;

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

// The base's share of every column it runs through, in order. A base under a short
// line-length limit may run through more than two columns.
std::vector<BasePart> GatherBase(const PageMap& chars, const std::vector<TargetChar>& target,
                                 int32_t rubySpacing) {
    std::vector<BasePart> parts;
    for (const TargetChar& tc : target) {
        if (tc.type == TT_EXTERNAL_CHAR && tc.at.iPos > 0) continue;
        auto it = chars.find(tc.at);
        if (it == chars.end() || it->second.height <= 0 || it->second.size <= 0) continue;
        const PageMapEntry& e = it->second;
        if (parts.empty() || parts.back().column != e.iColumn) {
            if (parts.size() == kMostParts) break;
            parts.push_back({});
            parts.back().column = e.iColumn;
        }
        BasePart& p = parts.back();
        p.top = std::min(p.top, e.y);
        p.end = std::max(p.end, e.y + e.advance);
        p.rubyX = std::max(p.rubyX, e.x + e.size + rubySpacing);
        p.cells.insert(e.y);
        p.entries.push_back(e);
        p.points.push_back(tc.at);
    }
    return parts;
}

// Where the glyphs of the nearest ruby before the base end, when that ruby lies in the
// same column.
int32_t PrecedingRubyEnd(const PageMap& chars, const CYbTxtBuffer& buffer, int line, int run,
                         int column) {
    const auto& runs = buffer.lines()[line].runs;
    int prev = std::min(runs[run].tpBegin.iIndex, run) - 1;
    const int stop = std::max(-1, prev - 16);
    // Only a reading on the same side of the column bounds this one.
    const bool left = IsLeftSideRuby(runs, run);
    auto sameLane = [&](int r) {
        return (IsRubyType(runs[r].textType) || runs[r].textType == TT_LEFT_RUBY) &&
               IsLeftSideRuby(runs, r) == left;
    };
    while (prev > stop && prev < int(runs.size()) && !sameLane(prev))
        --prev;
    if (prev <= stop || prev >= int(runs.size())) return INT32_MIN;
    auto it = chars.lower_bound({line, prev + 1, 0});
    if (it == chars.begin()) return INT32_MIN;
    --it;
    if (it->first.iLine != line || it->first.iIndex != prev || it->second.iColumn != column)
        return INT32_MIN;
    return it->second.y + it->second.height;
}

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

// How many of the ruby characters from k on may not begin the second part (one to three
// marks of the start list stay in the first part), 0 when none.
int MarksThatStay(const RubyRun& ruby, int k, const std::set<char32_t>& startSet) {
    int lead = 0;
    const int n = int(ruby.chars.size());
    while (k + lead < n && lead < 4 && startSet.count(ruby.chars[k + lead].c))
        ++lead;
    return (lead >= 1 && lead <= 3) ? lead : 0;
}

// A base split over columns: the reading is shared between the parts by their lengths
// (every part gets at least one character while there are enough; marks that may not begin
// a column stay with what precedes them), and each share is spread over its part when
// shorter; a longer share ends with the first part (at the column's end) or begins with a
// later one, overrunning its part as little as it can and never leaving its box.
void SetAcrossTurn(const RubyRun& ruby, const std::vector<BasePart>& parts,
                   const std::set<char32_t>& startSet, RubySink& sink) {
    const int n = int(ruby.chars.size());
    const int count = int(parts.size());
    int64_t total = 0;
    for (const BasePart& p : parts)
        total += p.end - p.top;
    total = std::max<int64_t>(1, total);
    auto share = [&](const BasePart& p, int from, int to, bool first) {
        const int shared = to - from;
        if (shared <= 0) return;
        int32_t top = p.top;
        if (first && ruby.bound != INT32_MIN) top = std::max(top, ruby.bound);
        const int32_t room = p.end - top;
        const int32_t need = shared * ruby.g;
        int32_t step = ruby.g;
        int32_t y = first ? p.end - need : top;
        if (need <= room) {
            step = ruby.g + (room - need) / shared;
            y = top + (step - ruby.g) / 2;
        } else if (first) {
            y = std::max(y, ruby.bound == INT32_MIN ? y : ruby.bound);
        } else if (y + need > p.bottom) {
            y = std::max(p.top, p.bottom - need);
        }
        for (int k = from; k < to; ++k, y += step)
            sink.put(k, p, p.rubyX, y, step);
    };
    // Boundaries of the shares: by the parts' lengths first.
    std::vector<int> b(size_t(count) + 1, n);
    b[0] = 0;
    int64_t before = 0;
    for (int i = 0; i + 1 < count; ++i) {
        before += parts[size_t(i)].end - parts[size_t(i)].top;
        const int left = count - 1 - i;  // parts after this one
        const int lo = std::min(n, b[size_t(i)] + (n > 1 ? 1 : 0));
        const int hi = std::max(lo, n - left);
        b[size_t(i) + 1] = int(std::clamp<int64_t>((n * before + total / 2) / total, lo, hi));
    }
    // A share that overruns its part gives characters to a neighbouring part with room.
    auto room = [&](int i) {
        const BasePart& p = parts[size_t(i)];
        int32_t top = p.top;
        if (i == 0 && ruby.bound != INT32_MIN) top = std::max(top, ruby.bound);
        return int64_t(p.end - top) - int64_t(b[size_t(i) + 1] - b[size_t(i)]) * ruby.g;
    };
    for (int i = 1; i < count; ++i) {
        while (room(i) < 0 && room(i - 1) >= ruby.g && b[size_t(i)] + 1 < b[size_t(i) + 1])
            ++b[size_t(i)];
        while (room(i - 1) < 0 && room(i) >= ruby.g && b[size_t(i)] - 1 > b[size_t(i) - 1])
            --b[size_t(i)];
    }
    for (int i = 1; i < count; ++i) {
        int& to = b[size_t(i)];
        to = std::max(to, b[size_t(i) - 1]);
        if (to < n) to = std::min(n, to + MarksThatStay(ruby, to, startSet));
    }
    for (int i = 0; i < count; ++i)
        share(parts[size_t(i)], b[size_t(i)], b[size_t(i) + 1], i == 0);
}

// One ruby character beside each base cell.
void SetPerCell(const RubyRun& ruby, const BasePart& p, RubySink& sink) {
    int k = 0;
    for (int32_t top : p.cells)
        sink.put(k++, p, p.rubyX, top, ruby.g);
}

// A ruby shorter than a base of several cells is spread evenly over it; only the base
// characters it runs along set its x.
void SetSpreadOverBase(const RubyRun& ruby, const BasePart& p, int32_t rubySpacing,
                       RubySink& sink) {
    const int n = int(ruby.chars.size());
    const int32_t gap = (p.end - p.top - ruby.length) / n;
    const int32_t y0 = p.top + gap / 2;
    const int32_t y1 = y0 + n * (ruby.g + gap);
    int32_t x = INT32_MIN;
    for (const PageMapEntry& e : p.entries)
        if (e.y < y1 && e.y + e.advance > y0) x = std::max(x, e.x + e.size + rubySpacing);
    if (x == INT32_MIN || x > p.rubyX) x = p.rubyX;
    for (int k = 0; k < n; ++k)
        sink.put(k, p, x, y0 + k * (ruby.g + gap), ruby.g + gap);
}

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

// Any other ruby in one column: from the base top (or the preceding ruby's end), spread
// over the room when shorter, kept inside the box when longer.
void SetFromTop(const RubyRun& ruby, const BasePart& p, int32_t boxBottom, RubySink& sink) {
    const int n = int(ruby.chars.size());
    const bool bounded = ruby.bound != INT32_MIN && ruby.bound > p.top;
    const int32_t start = bounded ? ruby.bound : p.top;
    const int32_t room = p.end - start;
    int32_t y0 = start;
    int32_t step = ruby.g;
    if (ruby.length > room) {
        y0 = p.top;
        if (y0 + ruby.length > boxBottom) y0 = boxBottom - ruby.length;
        if (bounded) y0 = std::max(y0, ruby.bound);
    } else if (ruby.length < room && n > 1) {
        const int32_t gap = (room - ruby.length) / n;
        step = ruby.g + gap;
        y0 = start + gap / 2;
    }
    for (int k = 0; k < n; ++k)
        sink.put(k, p, p.rubyX, y0 + k * step, step);
}

// A base's part ends where its box ends: the spacing after the last character of a spread
// column lies below the box, where the next tier's text may begin. A part that hangs below
// the box keeps its glyphs.
void KeepInBox(const MapGeometry& geo, BasePart& p) {
    const ColumnBox cb = FindColumnBox(geo, p.column);
    if (cb.index < 0) return;
    p.bottom = geo.text[cb.index].bottom;
    const PageMapEntry& last = p.entries.back();
    const int32_t glyphEnd = last.y + std::min(last.height, last.advance);
    p.end = std::min(p.end, std::max(p.bottom, glyphEnd));
}

// A base split between two spreads: the characters of the reading that belong to the part
// on this spread, shared by the number of base characters on either side, as the other
// spread shares them.
std::pair<int, int> SpreadShare(const PageMap& chars, const std::vector<TargetChar>& target,
                                int n) {
    int before = 0, inside = 0, after = 0;
    for (const TargetChar& tc : target) {
        if (tc.type == TT_EXTERNAL_CHAR && tc.at.iPos > 0) continue;
        if (chars.count(tc.at)) {
            inside += after + 1;
            after = 0;
        } else if (inside == 0) {
            ++before;
        } else {
            ++after;
        }
    }
    const int total = before + inside + after;
    if (total == 0 || (before == 0 && after == 0)) return {0, n};
    auto at = [&](int k) { return (n * k + total / 2) / total; };
    return {at(before), at(before + inside)};
}

}  // namespace

void MapBuilder::placeRuby(int line, int run) {
    const TextInfo& info = buffer_.lines()[line].runs[run];
    RubyRun ruby{line, run, RunChars(info.str), geo_.rubySize};
    if (ruby.chars.empty()) return;
    const std::vector<TargetChar> target = TargetChars(buffer_, line, run);
    std::vector<BasePart> parts = GatherBase(chars_, target, ruby.size.spacing);
    if (parts.empty()) return;
    const auto [from, to] = SpreadShare(chars_, target, int(ruby.chars.size()));
    if (from >= to) return;
    ruby.chars = std::vector<RunChar>(ruby.chars.begin() + from, ruby.chars.begin() + to);
    ruby.offset = from;
    for (BasePart& p : parts)
        KeepInBox(geo_, p);
    ruby.g = IsHalfWidthChar(info, ruby.chars[0].c) ? ruby.size.size / 2 : ruby.size.size;
    ruby.length = int32_t(ruby.chars.size()) * ruby.g;
    ruby.bound = PrecedingRubyEnd(chars_, buffer_, line, run, parts[0].column);
    RubySink sink(chars_, ruby);
    if (parts.size() >= 2) return SetAcrossTurn(ruby, parts, startSet_, sink);

    const BasePart& p = parts[0];
    const int n = int(ruby.chars.size());
    const int cells = int(p.cells.size());
    const bool bounded = ruby.bound != INT32_MIN && ruby.bound > p.top;
    if (!bounded && n == cells) return SetPerCell(ruby, p, sink);
    if (!bounded && n < cells && cells > 1 && p.end - p.top >= ruby.length)
        return SetSpreadOverBase(ruby, p, ruby.size.spacing, sink);
    if (ruby.length > p.end - (bounded ? ruby.bound : p.top)) {
        const Room room = RubyRoom(chars_, buffer_, pads_, ruby, p, p.bottom);
        return SetCentred(ruby, p, room, sink);
    }
    SetFromTop(ruby, p, p.bottom, sink);
}

void MapBuilder::collectPads(int line) {
    pads_.clear();
    const auto& spreads = buffer_.rubySpreads();
    auto it = spreads.lower_bound({line, 0, 0});
    if (it == spreads.end() || it->first.iLine != line) return;
    const auto& turns = buffer_.lines()[line].turns;
    for (; it != spreads.end() && it->first.iLine == line; ++it) {
        std::vector<TargetChar> target = TargetChars(buffer_, line, it->first.iIndex);
        std::erase_if(target, [](const TargetChar& t) { return t.type != TT_TEXT; });
        if (target.empty()) continue;
        const RunPoint first{target.front().at.iIndex, target.front().at.iPos};
        const RunPoint last{target.back().at.iIndex, target.back().at.iPos};
        // A base split over two columns keeps its width.
        const bool split = std::any_of(turns.begin() + 1, turns.end(), [&](const TextTurnPos& t) {
            const RunPoint tp{t.iIndex, t.iPos};
            return first < tp && !(last < tp);
        });
        if (split) continue;
        const int32_t spread = int32_t(int64_t(it->second) * geo_.textSize.size / 4);
        const int32_t pad = spread / int32_t(2 * target.size());
        for (const TargetChar& t : target)
            pads_[{t.at.iIndex, t.at.iPos}] = pad;
    }
}

}  // namespace Yomibon::MapDetail
