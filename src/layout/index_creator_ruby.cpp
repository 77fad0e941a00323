// Line arrangement: room for ruby longer than its base. The reading may cover one ruby
// character of a neighbouring kana that carries no ruby of its own, never a neighbouring
// kanji or another reading (JLReq 3.3.6, 3.3.8); what is still missing spreads the base
// characters, a quarter of it before the base, half between characters, a quarter after.
// A base at a column end hangs or is split only where its reading still finds room so.
#include <algorithm>
#include <climits>

#include "layout/index_creator.h"
#include "layout/ruby_side.h"
#include "platform/utf16.h"
#include "text/char_sizes.h"

namespace Yomibon {

namespace {

bool IsKana(char32_t c) {
    return (c >= 0x3041 && c <= 0x309F) || (c >= 0x30A1 && c <= 0x30FF);
}

// Runs that take room in a column without being plain characters.
bool IsCellType(int type) {
    return type == TT_AUTO_HORIZONTAL || type == TT_HORIZONTAL || type == TT_EXTERNAL_CHAR ||
           type == TT_REPEAT_MARK || type == TT_VOICED_REPEAT_MARK ||
           (type >= TT_PAREN_NOTE && type <= TT_SUBSCRIPT) || type == TT_CHAR_NOTE;
}

// Runs that steer the columns: nothing beyond them neighbours a base. Bottom alignment
// inside a line keeps the text after it in the same column, next to the base.
bool IsSteering(int type) {
    if (type == TT_LINE_BOTTOM) return false;
    return (type >= TT_LINE_INDENT && type <= TT_PICTURE_SPREAD) ||
           (type >= TT_NEXT_LINE && type <= TT_NEXT_LEAF) || type == TT_HANGING;
}

}  // namespace

bool CYbIndexCreator::neighbour(const RunPoint& at, int step, RunPoint& where, char32_t& c) const {
    const auto& runs = info_->runs;
    int32_t r = at.iIndex;
    int32_t p = at.iPos + step;
    for (;;) {
        if (r < 0 || r >= int32_t(runs.size())) return false;
        const TextInfo& run = runs[size_t(r)];
        const int32_t count =
            run.textType == TT_TEXT || run.textType == TT_DASH ? int32_t(CharCount(run.str)) : 0;
        if (p >= 0 && p < count) {
            where = {r, p};
            std::u16string_view s = run.str;
            c = CodePointAt(s, CharOffset(s, size_t(p)));
            return true;
        }
        if (r != at.iIndex && IsCellType(run.textType)) {
            where = {r, 0};
            c = 0;
            return true;
        }
        if (r != at.iIndex && IsSteering(run.textType)) return false;
        r += step;
        if (r < 0 || r >= int32_t(runs.size())) return false;
        const TextInfo& next = runs[size_t(r)];
        p = step > 0 ? 0
                     : (next.textType == TT_TEXT || next.textType == TT_DASH
                            ? int32_t(CharCount(next.str)) - 1
                            : -1);
    }
}

// A ruby run follows its base: only the first one after the point can cover it.
int32_t CYbIndexCreator::rubyOver(const RunPoint& at) const {
    const auto& runs = info_->runs;
    const size_t stop = std::min(runs.size(), size_t(std::max(0, at.iIndex)) + 64);
    for (size_t r = size_t(std::max(0, at.iIndex)) + 1; r < stop; ++r) {
        const TextInfo& run = runs[r];
        if (run.textType != TT_RUBY && run.textType != TT_SIC) continue;
        if (IsLeftSideRuby(runs, int(r))) continue;
        RunPoint b = run.tpBegin;
        RunPoint e = run.tpEnd;
        if (e.iPos < 0) e.iPos = INT32_MAX;
        return !(at < b) && !(e < at) ? int32_t(r) : -1;
    }
    return -1;
}

bool CYbIndexCreator::coveredByRuby(const RunPoint& at) const {
    return rubyOver(at) >= 0;
}

bool CYbIndexCreator::splitsCrowdedBase(const RunPoint& before, const RunPoint& after) const {
    if (rubySize_ <= 0) return false;
    const int32_t r = rubyOver(after);
    if (r < 0) return false;
    const TextInfo& ruby = info_->runs[size_t(r)];
    if (before < ruby.tpBegin) return false;
    RunPoint last = ruby.tpEnd;
    if (last.iPos < 0)
        last.iPos =
            std::max<int32_t>(0, int32_t(CharCount(info_->runs[size_t(last.iIndex)].str)) - 1);
    return !sharesFit(ruby, ruby.tpBegin, last, after);
}

void CYbIndexCreator::reserveRuby(int32_t index, const TextInfo& run, bool retry) {
    const auto& runs = info_->runs;
    if (rubySize_ <= 0 || textSize_ <= 0 || placed_ == 0) return;
    RunPoint first = run.tpBegin;
    RunPoint last = run.tpEnd;
    if (first.iIndex < 0 || last.iIndex < first.iIndex || last.iIndex >= int32_t(runs.size()))
        return;
    if (last.iPos < 0)
        last.iPos = std::max<int32_t>(0, int32_t(CharCount(runs[size_t(last.iIndex)].str)) - 1);
    const TextTurnPos& turn = info_->turns.back();
    const RunPoint columnStart{turn.iIndex, turn.iPos};
    if (first < columnStart) return;  // a base split over two columns keeps its width
    // A cell is counted without spacing: a justified column may set its characters solid.
    const int64_t ts = textSize_;
    const int64_t g = rubySize_;
    const int64_t length = int64_t(CharCount(run.str)) * g;
    // The base at its characters' own sizes: smaller type leaves the reading less room.
    const int64_t baseLength = charLength16(first, last, false) * ts / (4 * kBodySize16);
    const int64_t end = int64_t(pos_) * ts / 4;
    const int64_t top = end - baseLength;
    if (length <= end - top) {
        rubyEnd_ = end;
        return;
    }
    RunPoint at;
    char32_t c = 0;
    int64_t lo = top;
    if (columnStart < first && neighbour(first, -1, at, c) && !(at < columnStart) && IsKana(c) &&
        !coveredByRuby(at) && rubyEnd_ <= top - ts)
        lo = top - g;
    lo = std::max(lo, rubyEnd_);
    int64_t hi = INT64_MAX / 4;  // at the end of the line nothing follows
    if (neighbour(last, 1, at, c)) hi = IsKana(c) && !coveredByRuby(at) ? end + g : end;
    // The reading never runs past the column's end. When nothing more fits after the
    // (spread) base, the column is justified so that the base itself ends there.
    const int margin = 2 * charCount(first, last);  // the mapper rounds each share down
    auto spreadFor = [&](int64_t upTo) {
        const int64_t missing = length - (upTo - lo) + margin;
        // The mapper sets a quarter of spread as a quarter of the text size.
        return missing > 0 ? int((missing * 4 + textSize_ - 1) / textSize_) : 0;
    };
    hi = std::min(hi, std::max(end, int64_t(limit_ - kHalfCell) * ts / 4));
    int extra = spreadFor(hi);
    if (pos_ + extra + 4 > limit_) {
        hi = end;
        extra = spreadFor(hi);
    }
    if (extra > 0 && pos_ + extra > limit_ && retry && columnStart < first) {
        // No room left in this column: the base (and what may not end a column before it)
        // begins the next one, where nothing precedes it.
        for (size_t k = history_.size(); k-- > 1;) {
            if (history_[k].run != first.iIndex || history_[k].pos != first.iPos) continue;
            // What may not end a column before the base goes along; a base that may not
            // begin one takes the character before it.
            size_t from = k;
            while (from > 0 && k - from < 3 && !breakAllowed(history_[from - 1], history_[from]))
                --from;
            // Nothing is gained when the whole column would move.
            if (from > 0 && moveTail(from)) return reserveRuby(index, run, false);
            break;
        }
    }
    if (extra <= 0) {
        const int64_t start = std::max(lo, std::min(top + (end - top - length) / 2, hi - length));
        rubyEnd_ = start + length;
        return;
    }
    pos_ += extra;
    buffer_.rubySpreads()[TextPoint{line_, index, 0}] = extra;
    if (!history_.empty()) {
        history_.back().extra += extra;
        history_.back().spreadRun = index;
    }
    const int64_t spread = int64_t(extra) * textSize_ / 4;
    const int64_t start = std::max(lo, top + (end + spread - top - length) / 2);
    rubyEnd_ = std::min(start, hi + spread - length) + length;
}

bool CYbIndexCreator::sharesFit(const TextInfo& run, const RunPoint& first, const RunPoint& last,
                                const RunPoint& turn) const {
    if (rubySize_ <= 0) return true;
    const RunPoint beforeTurn =
        turn.iPos > 0 ? RunPoint{turn.iIndex, turn.iPos - 1} : RunPoint{turn.iIndex - 1, INT32_MAX};
    const int64_t scale = 4 * int64_t(kBodySize16);
    const int64_t head = charLength16(first, beforeTurn, false) * textSize_ / scale;
    const int64_t tail = charLength16(turn, last, false) * textSize_ / scale;
    return head / rubySize_ + tail / rubySize_ >= int64_t(CharCount(run.str));
}

bool CYbIndexCreator::readingFitsHanging(const TextInfo& run, const RunPoint& first,
                                         const RunPoint& last, const RunPoint& turn) const {
    const int64_t ts = textSize_;
    const int64_t g = rubySize_;
    const RunPoint beforeTurn =
        turn.iPos > 0 ? RunPoint{turn.iIndex, turn.iPos - 1} : RunPoint{turn.iIndex - 1, INT32_MAX};
    // Positions in the previous column, where the base would end hanging; each character at
    // its own size, as the mapper sets it.
    const int64_t top = int64_t(std::max(previous_.pos, previous_.extent)) * ts / 4 -
                        charLength16(first, beforeTurn, false) * ts / (4 * kBodySize16);
    const int64_t end = top + charLength16(first, last, false) * ts / (4 * kBodySize16);
    const int64_t bound = previous_.rubyEnd;
    int64_t lo = top;
    RunPoint at;
    char32_t c = 0;
    const RunPoint columnStart{info_->turns[info_->turns.size() - 2].iIndex,
                               info_->turns[info_->turns.size() - 2].iPos};
    if (columnStart < first && neighbour(first, -1, at, c) && !(at < columnStart) && IsKana(c) &&
        !coveredByRuby(at) && bound <= top - ts)
        lo = top - g;
    lo = std::max(lo, bound);
    // The mapper rounds each share of a spread down, as the arranger's reservation assumes.
    const int64_t margin = 2 * charCount(first, last);
    const int64_t missing = int64_t(CharCount(run.str)) * g + margin - (end - lo);
    if (missing <= 0) return true;
    // Spreading the base for the rest is fine while the hanging character still begins
    // inside the column; beyond that, base and reading would leave the column.
    const int64_t extra = (missing * 4 + ts - 1) / ts;
    return std::max(previous_.pos, previous_.extent) + extra < previous_.limit;
}

}  // namespace Yomibon
