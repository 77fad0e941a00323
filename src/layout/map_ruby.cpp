// Ruby beside its base: one reading character per base character, spread over a longer
// base, hanging from the base top when longer, and continued over a base split in two.
#include <algorithm>
#include <climits>
#include <set>

#include "layout/map_builder.h"
#include "platform/utf16.h"

namespace Yomibon::MapDetail {

namespace {

// The base's share of one column.
struct BasePart {
    int column = 0;
    int32_t top = INT32_MAX;
    int32_t end = INT32_MIN;
    int32_t rubyX = INT32_MIN;
    std::set<int32_t> cells;  // tops of its cells (a horizontal cell counts once)
    std::vector<PageMapEntry> entries;
};

std::vector<BasePart> GatherBase(const PageMap& chars, const std::vector<TargetChar>& target,
                                 int32_t rubySpacing) {
    std::vector<BasePart> parts;
    for (const TargetChar& tc : target) {
        if (tc.type == TT_EXTERNAL_CHAR && tc.at.iPos > 0) continue;
        auto it = chars.find(tc.at);
        if (it == chars.end() || it->second.height <= 0 || it->second.size <= 0) continue;
        const PageMapEntry& e = it->second;
        if (parts.empty() || parts.back().column != e.iColumn) {
            if (parts.size() == 2) break;  // a base spans at most two columns
            parts.push_back({});
            parts.back().column = e.iColumn;
        }
        BasePart& p = parts.back();
        p.top = std::min(p.top, e.y);
        p.end = std::max(p.end, e.y + e.advance);
        p.rubyX = std::max(p.rubyX, e.x + e.size + rubySpacing);
        p.cells.insert(e.y);
        p.entries.push_back(e);
    }
    return parts;
}

// Where the ruby of the run before the base ends, when that ruby lies in the same column.
int32_t PrecedingRubyEnd(const PageMap& chars, const CYbTxtBuffer& buffer, int line, int run,
                         int column) {
    const auto& runs = buffer.lines()[line].runs;
    const int prev = runs[run].tpBegin.iIndex - 1;
    if (prev < 0 || prev >= int(runs.size()) || !IsRubyType(runs[prev].textType)) return INT32_MIN;
    auto it = chars.lower_bound({line, prev + 1, 0});
    if (it == chars.begin()) return INT32_MIN;
    --it;
    if (it->first.iLine != line || it->first.iIndex != prev || it->second.iColumn != column)
        return INT32_MIN;
    return it->second.y + it->second.advance;
}

}  // namespace

void MapBuilder::placeRuby(int line, int run) {
    const TextInfo& info = buffer_.lines()[line].runs[run];
    const auto chars = RunChars(info.str);
    if (chars.empty()) return;
    const SizePair rs = geo_.rubySize;
    const std::vector<BasePart> parts =
        GatherBase(chars_, TargetChars(buffer_, line, run), rs.spacing);
    if (parts.empty()) return;
    const int32_t g = IsHalfWidthChar(info, chars[0].c) ? rs.size / 2 : rs.size;
    const int n = std::max<int>(1, int(chars.size()));
    const int32_t bound = PrecedingRubyEnd(chars_, buffer_, line, run, parts[0].column);
    const int32_t a = n * g;

    auto put = [&](int k, const BasePart& p, int32_t x, int32_t y, int32_t advance) {
        chars_[{line, run, k}] = {p.column, x, y, advance, rs.size, g, rs.size, x, y};
    };

    if (parts.size() == 2) {
        // Down the first part, on at the top of the second once past the first part's
        // end; marks that may not begin a column stay behind with what precedes them.
        const int32_t total = (parts[0].end - parts[0].top) + (parts[1].end - parts[1].top);
        const int32_t grow = (total > a && n > 1) ? (total - a) / n : 0;
        const int32_t step = g + grow;
        size_t pi = 0;
        int32_t y = std::max(parts[0].top, bound) + grow / 2;
        int stay = -1;
        for (int k = 0; k < int(chars.size()); ++k) {
            if (pi == 0 && y + g / 2 > parts[0].end) {
                if (stay < 0) {
                    int lead = 0;
                    while (k + lead < int(chars.size()) && lead < 4 &&
                           startSet_.count(chars[k + lead].c))
                        ++lead;
                    stay = (lead >= 1 && lead <= 3) ? lead : 0;
                }
                if (stay == 0) {
                    pi = 1;
                    y = parts[1].top + grow / 2;
                } else {
                    --stay;
                }
            }
            put(k, parts[pi], parts[pi].rubyX, y, step);
            y += step;
        }
        return;
    }

    const BasePart& p = parts[0];
    const int baseCells = int(p.cells.size());
    const bool bounded = bound != INT32_MIN && bound > p.top;
    if (!bounded && n == baseCells) {
        int k = 0;
        for (int32_t top : p.cells)
            put(k++, p, p.rubyX, top, g);
        return;
    }
    const int32_t base = p.end - p.top;
    if (!bounded && n < baseCells && baseCells > 1 && base >= a) {
        const int32_t gap = (base - a) / n;
        const int32_t y0 = p.top + gap / 2;
        const int32_t y1 = y0 + n * (g + gap);
        // Beside a spread ruby only the base characters it runs along set its x.
        int32_t x = INT32_MIN;
        for (const PageMapEntry& e : p.entries)
            if (e.y < y1 && e.y + e.advance > y0) x = std::max(x, e.x + e.size + rs.spacing);
        if (x == INT32_MIN || x > p.rubyX) x = p.rubyX;
        for (int k = 0; k < int(chars.size()); ++k)
            put(k, p, x, y0 + k * (g + gap), g + gap);
        return;
    }
    const int32_t start = bounded ? bound : p.top;
    const int32_t room = p.end - start;
    int32_t y0 = start;
    int32_t step = g;
    if (a > room) {
        const ColumnBox cb = FindColumnBox(geo_, p.column);
        const int32_t bottom = cb.index >= 0 ? geo_.text[cb.index].bottom : INT32_MAX;
        y0 = p.top;
        if (y0 + a > bottom) y0 = bottom - a;
        if (bounded) y0 = std::max(y0, bound);
    } else if (a < room && n > 1) {
        const int32_t gap = (room - a) / n;
        step = g + gap;
        y0 = start + gap / 2;
    }
    for (int k = 0; k < int(chars.size()); ++k)
        put(k, p, p.rubyX, y0 + k * step, step);
}

}  // namespace Yomibon::MapDetail
