// Ruby beside its base: one reading character per base character, spread over a longer
// base, centred over a shorter one between its neighbours, and continued over a base split
// in two.
#include <algorithm>
#include <climits>
#include <set>

#include "layout/map_builder.h"
#include "layout/map_ruby_parts.h"
#include "layout/ruby_side.h"

namespace Yomibon::MapDetail {

namespace {

// Most columns one base is followed through.
constexpr size_t kMostParts = 16;

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
