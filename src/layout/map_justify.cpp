// Strict justification (JLReq 3.8): a column that turned before its end is filled to the end
// by widening the spaces between its characters, but not after an opening bracket, before a
// closing one, between the marks of a leader or dash, or inside a ruby base. Every space
// keeps the box's natural spacing; only the rest is shared out. Spaces dropped at the
// column's end are no gaps: they keep their room there.
#include <algorithm>
#include <climits>
#include <string_view>

#include "layout/map_builder.h"

namespace Yomibon::MapDetail {

namespace {

// cl-01 opening brackets and cl-02 closing brackets.
constexpr std::u16string_view kOpening = u"‘“（〔［｛〈《「『【⦅〘〖«〝([{｟";
constexpr std::u16string_view kClosing = u"’”）〕］｝〉》」』】⦆〙〗»〟)]}｠";
// Marks drawn as one line when repeated (cl-08 and dashes).
constexpr std::u16string_view kJoined = u"…‥―—";

bool In(std::u16string_view set, char32_t c) {
    return c < 0x10000 && set.find(char16_t(c)) != std::u16string_view::npos;
}

struct BaseRange {
    RunPoint begin;
    RunPoint end;
};

// Ruby bases of the line that may hold characters of the column, in order.
std::vector<BaseRange> RubyBases(const std::vector<TextInfo>& runs, const TextPoint& first,
                                 const TextPoint& last) {
    std::vector<BaseRange> bases;
    const int stop = std::min(int(runs.size()), last.iIndex + 65);
    for (int r = std::max(0, first.iIndex); r < stop; ++r) {
        const int type = runs[size_t(r)].textType;
        if (!IsRubyType(type) && type != TT_LEFT_RUBY) continue;
        BaseRange b{runs[size_t(r)].tpBegin, runs[size_t(r)].tpEnd};
        if (b.end.iPos < 0) b.end.iPos = INT32_MAX;
        bases.push_back(b);
    }
    std::sort(bases.begin(), bases.end(),
              [](const BaseRange& a, const BaseRange& b) { return a.begin < b.begin; });
    return bases;
}

bool SameBase(const std::vector<BaseRange>& bases, const TextPoint& a, const TextPoint& b) {
    const RunPoint pa{a.iIndex, a.iPos};
    const RunPoint pb{b.iIndex, b.iPos};
    auto it = std::upper_bound(bases.begin(), bases.end(), pa,
                               [](const RunPoint& p, const BaseRange& r) { return p < r.begin; });
    // Bases may nest (a reading over part of a longer one): look back a little.
    for (int k = 0; k < 4 && it != bases.begin(); ++k) {
        --it;
        if (!(it->end < pa) && !(it->end < pb)) return true;
    }
    return false;
}

bool Stretchable(char32_t a, char32_t b) {
    if (In(kOpening, a) || In(kClosing, b)) return false;
    return !(a == b && In(kJoined, a));
}

}  // namespace

void MapBuilder::noteGlyph(Cursor& cur, const TextPoint& at, char32_t c) const {
    if (!cur.place && options_.strict) cur.glyphs.push_back({at, c});
}

int32_t MapBuilder::gapAfter(const Cursor& cur, const TextPoint& at) const {
    if (cur.gapAfter.empty()) return 0;
    auto it = cur.gapAfter.find(at);
    return it == cur.gapAfter.end() ? 0 : it->second;
}

void MapBuilder::justifyStrict(int line, Cursor& measured, Cursor& cur, int32_t used,
                               int32_t dropped) const {
    const auto& glyphs = measured.glyphs;
    const LayoutBox& box = cur.frame.box;
    const int cells = int(glyphs.size());
    if (cells < 2 || box.chars < 2 || cur.frame.bottomAlign) return;
    const int32_t ts = geo_.textSize.size;
    const int32_t avail = box.bottom - box.top - cur.frame.indent - cur.frame.raise;
    const int32_t natural = std::max(0, (box.bottom - box.top - ts * box.chars) / (box.chars - 1));
    const int32_t base = std::min(cur.spacing, natural);
    // A column ended by dropped spaces is set as if they were there: its characters keep the
    // natural spacing, and only what the spaces leave short of the end is shared out.
    if (dropped > 0) cur.spacing = base;
    const int64_t spaces = ts > 0 ? (int64_t(dropped) + ts - 1) / ts : 0;
    int64_t rest = int64_t(avail) - used - int64_t(base) * (cells - 1 + spaces) - dropped;
    if (rest <= 0) return;
    const auto bases =
        RubyBases(buffer_.lines()[size_t(line)].runs, glyphs.front().first, glyphs.back().first);
    std::vector<size_t> open;
    for (size_t k = 0; k + 1 < glyphs.size(); ++k)
        if (Stretchable(glyphs[k].second, glyphs[k + 1].second) &&
            !SameBase(bases, glyphs[k].first, glyphs[k + 1].first))
            open.push_back(k);
    if (open.empty()) return;  // nothing may stretch: the even spacing stays
    cur.spacing = base;
    const int64_t share = rest / int64_t(open.size());
    int64_t extra = rest % int64_t(open.size());
    for (size_t k : open)
        cur.gapAfter[glyphs[k].first] = int32_t(share + (extra-- > 0 ? 1 : 0));
}

}  // namespace Yomibon::MapDetail
