// Ruby in step with its base: one reading character per base character, spread over a
// longer base or its room, and shared between the parts of a base split over columns.
#include <algorithm>
#include <climits>
#include <set>

#include "layout/map_ruby_parts.h"

namespace Yomibon::MapDetail {

namespace {

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

}  // namespace

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

}  // namespace Yomibon::MapDetail
