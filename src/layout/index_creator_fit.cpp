// Line arrangement: narrowing of over-full columns, ruby fitting across a column turn, and
// boxes reserved for pictures.
#include <algorithm>

#include "layout/index_creator.h"
#include "layout/ruby_side.h"
#include "platform/char_type.h"
#include "platform/utf16.h"
#include "text/char_sizes.h"

namespace Yomibon {

namespace {

// Enters every punctuation mark of a column in the narrow-mark map and shortens the column.
class CYbArrange : public CYbTxtBuffer::CYbCharFunc {
  public:
    CYbArrange(CYbTxtBuffer& buffer, const CYbKinsoku& kinsoku, TextTurnPos& turn)
        : buffer_(buffer), kinsoku_(kinsoku), turn_(turn) {}
    bool isValid(int textType) override { return textType == TT_TEXT; }
    bool setChar(const TextPoint& point) override {
        uint8_t code = kinsoku_.code(buffer_.charAt(point));
        if (code == 0 || buffer_.charSize(point) != kBodySize16) return true;
        auto [it, added] = buffer_.narrowMarks().emplace(point, code);
        if (added) turn_.iLength -= 4 - CYbKinsoku::SetBits(code);
        return true;
    }

  private:
    CYbTxtBuffer& buffer_;
    const CYbKinsoku& kinsoku_;
    TextTurnPos& turn_;
};

int32_t CeilDiv(int32_t a, int32_t n) {
    return a <= 0 ? 0 : (a + n - 1) / n;
}

}  // namespace

void CYbIndexCreator::arrangeLine(TextTurnPos& turn, const TextPoint& begin, const TextPoint& end) {
    CYbArrange func(buffer_, kinsoku_, turn);
    buffer_.forEach(begin, end, func);
}

int CYbIndexCreator::charCount(const RunPoint& from, const RunPoint& to) const {
    const auto& runs = info_->runs;
    int count = 0;
    for (int32_t r = from.iIndex; r <= to.iIndex && r < int32_t(runs.size()); ++r) {
        const TextInfo& run = runs[size_t(r)];
        int32_t n = int32_t(CharCount(run.str));
        if (run.textType == TT_AUTO_HORIZONTAL || run.textType == TT_EXTERNAL_CHAR)
            n = 1;
        else if (run.textType != TT_TEXT && run.textType != TT_DASH)
            continue;
        int32_t first = r == from.iIndex ? from.iPos : 0;
        int32_t last = r == to.iIndex ? std::min(to.iPos, n - 1) : n - 1;
        count += std::max(0, last - first + 1);
    }
    return count;
}

int CYbIndexCreator::charWidth(const RunPoint& from, const RunPoint& to) const {
    // Each sized character takes whole quarters, as it was placed.
    return int(charLength16(from, to, true) / kBodySize16);
}

int64_t CYbIndexCreator::charLength16(const RunPoint& from, const RunPoint& to,
                                      bool wholeQuarters) const {
    const auto& runs = info_->runs;
    const auto& marks = buffer_.narrowMarks();
    int64_t length = 0;
    auto add = [&](int quarters, int32_t run, int32_t pos) {
        const int size = lineSized_ ? buffer_.charSize(TextPoint{line_, run, pos}) : kBodySize16;
        int64_t l = int64_t(quarters) * size;
        if (wholeQuarters) l = (l + kBodySize16 - 1) / kBodySize16 * kBodySize16;
        length += l;
    };
    for (int32_t r = from.iIndex; r <= to.iIndex && r < int32_t(runs.size()); ++r) {
        const TextInfo& run = runs[size_t(r)];
        if (run.textType == TT_AUTO_HORIZONTAL || run.textType == TT_EXTERNAL_CHAR) {
            add(4, r, 0);
            continue;
        }
        if (run.textType != TT_TEXT && run.textType != TT_DASH) continue;
        int w = IsHalfWidthClass(run.chrType) ? 2 : 4;
        int32_t n = int32_t(CharCount(run.str));
        int32_t first = r == from.iIndex ? from.iPos : 0;
        int32_t last = r == to.iIndex ? std::min(to.iPos, n - 1) : n - 1;
        for (int32_t p = first; p <= last; ++p) {
            auto it = marks.find(TextPoint{line_, r, p});
            add(it == marks.end() ? w : CYbKinsoku::SetBits(uint8_t(it->second)), r, p);
        }
    }
    return length;
}

void CYbIndexCreator::fitRuby(int32_t index, const TextInfo& run) {
    fitRubyTurn(run);
    reserveRuby(index, run, true);
    if (IsLeftSideRuby(info_->runs, index)) leftRuby_ = true;
}

void CYbIndexCreator::fitRubyTurn(const TextInfo& run) {
    auto& turns = info_->turns;
    const auto& runs = info_->runs;
    if (turns.size() < 2 || !columns_.back().byOverflow) return;
    RunPoint first = run.tpBegin;
    RunPoint last = run.tpEnd;
    if (first.iIndex < 0 || last.iIndex < 0 || last.iIndex >= int32_t(runs.size())) return;
    if (last.iPos < 0)
        last.iPos = std::max<int32_t>(0, int32_t(CharCount(runs[size_t(last.iIndex)].str)) - 1);
    if (last < first || first.iPos < 0 ||
        first.iPos >= int32_t(CharCount(runs[size_t(first.iIndex)].str)))
        return;
    size_t at = 0;
    int inside = 0;
    for (size_t k = 1; k < turns.size(); ++k) {
        RunPoint t{turns[k].iIndex, turns[k].iPos};
        // Empty turns before a column (a wide column's slot, a column left empty) count as
        // one with it.
        if (k + 1 < turns.size() && turns[k].iCount == 0 && turns[k + 1].iIndex == t.iIndex &&
            turns[k + 1].iPos == t.iPos)
            continue;
        if (first < t && t <= last) {
            ++inside;
            at = k;
        }
    }
    // Only a turn inside the base that opened the current column can still be moved.
    if (inside != 1 || at + 1 != turns.size()) return;
    // The slot a wide column of larger type takes goes with that column.
    const size_t slots = slotsAfterWide(at);
    const bool slot = slots > 0;
    size_t prev = at - 1 - slots;
    // Columns left empty (beside left-side ruby, a skipped box) lie between: the base may
    // move over them, but cannot hang below the column before them.
    bool gap = false;
    while (!slot && prev > 0 && turns[prev].iCount == 0 && turns[prev].iIndex == turns[at].iIndex &&
           turns[prev].iPos == turns[at].iPos) {
        --prev;
        gap = true;
    }
    if (!slot && !gap && turns[prev].iColumn + 1 != turns[at].iColumn) return;
    if (turns[prev].iCount <= 0) return;
    RunPoint turn{turns[at].iIndex, turns[at].iPos};
    int after = charCount(turn, last);
    int before = charCount(first, last) - after;
    // A reading longer than its base needs the base whole in one column to find room.
    const bool longReading =
        rubySize_ > 0 && int64_t(CharCount(run.str)) * rubySize_ >
                             charLength16(first, last, false) * textSize_ / (4 * kBodySize16);
    // Strict mode hangs only marks of the hanging list, never a base character.
    if (after == 1 && !slot && !gap && !noHang_ && !strict_ &&
        columns_[at - 1].hanging < maxHanging_ &&
        (!longReading || readingFitsHanging(run, first, last, turn))) {
        mergeIntoPrevious();
        return;
    }
    if (after == 1 || before <= 2 || longReading || !sharesFit(run, first, last, turn))
        moveTurnTo(first, turn, before, prev);
}

void CYbIndexCreator::mergeIntoPrevious() {
    // The base ends hanging below the earlier column.
    auto& turns = info_->turns;
    int used = std::max(pos_, extent_) - colStart_;
    int count = placed_;
    LastChar keep = last_;
    column_ = previous_.column;
    curBox_ = previous_.curBox;
    boxFirstCol_ = previous_.boxFirstCol;
    boxSeq_ = previous_.boxSeq;
    boxHolds_ = true;
    pos_ = std::max(previous_.pos, previous_.extent) + used;
    extent_ = pos_;
    colStart_ = previous_.colStart;
    limit_ = previous_.limit;
    placed_ = previous_.placed + count;
    turns.pop_back();
    columns_.pop_back();
    columns_.back().hanging += count;
    turns.back().iCount = 0;
    last_ = keep;
    history_.clear();
    // The readings already set in the column still bound the base's.
    rubyEnd_ = previous_.rubyEnd;
}

size_t CYbIndexCreator::slotsAfterWide(size_t k) const {
    // A wide column's slot, and a last slot of a box that larger type may not begin, have
    // empty turns at the same point as the next column; 0 when no wide column precedes so.
    const auto& turns = info_->turns;
    if (k < 2 || k >= turns.size()) return 0;
    size_t j = k - 1;
    while (j > 0 && turns[j].iCount == 0 && turns[j].iIndex == turns[k].iIndex &&
           turns[j].iPos == turns[k].iPos)
        --j;
    if (j + 1 == k || turns[j].iCount <= 0) return 0;
    return buffer_.wideColumns().count(turns[j].iColumn) > 0 ? k - 1 - j : 0;
}

void CYbIndexCreator::moveTurnTo(const RunPoint& base, const RunPoint& turn, int before,
                                 size_t prevTurn) {
    // The whole base begins the next column, and with it what may not end a column before it.
    auto& turns = info_->turns;
    TextTurnPos& prev = turns[prevTurn];
    RunPoint first = base;
    for (int k = 0; k < 3; ++k) {
        RunPoint p = endListBefore(first, RunPoint{prev.iIndex, prev.iPos});
        if (p == first) break;
        first = p;
        ++before;
    }
    // A bracket that would be left alone at the column start stays with the base instead.
    if (endListBefore(first, RunPoint{-1, 0}) != first) return;
    if (prev.iCount - before < 1) return;
    RunPoint beforeEnd =
        turn.iPos > 0 ? RunPoint{turn.iIndex, turn.iPos - 1} : RunPoint{turn.iIndex - 1, INT32_MAX};
    int width = charWidth(first, beforeEnd);
    if (pos_ + width > limit_) return;
    buffer_.narrowMarks().erase(TextPoint{line_, first.iIndex, first.iPos});
    prev.iCount -= before;
    prev.iLength -= width;
    for (size_t k = prevTurn + 1; k < turns.size(); ++k) {
        turns[k].iIndex = first.iIndex;
        turns[k].iPos = first.iPos;
    }
    pos_ += width;
    placed_ += before;
    rememberMoved(first, width);
    rubyEnd_ = INT64_MIN;
}

// The characters a moved turn brought to the top of the column go before those already
// remembered, so that a later column end can still take them further (strict push-out).
void CYbIndexCreator::rememberMoved(const RunPoint& from, int width) {
    const auto& runs = info_->runs;
    const RunPoint end = history_.empty() ? RunPoint{last_.run, last_.pos + 1}
                                          : RunPoint{history_.front().run, history_.front().pos};
    std::vector<Placed> moved;
    int pos = colStart_;
    LastChar before;
    for (int32_t r = from.iIndex; r < int32_t(runs.size()) && !(end < RunPoint{r, 0}); ++r) {
        const TextInfo& run = runs[size_t(r)];
        if (run.textType != TT_TEXT) {
            // Only plain characters are remembered; anything else set in the column (a
            // cell, a dropped space) leaves the column as it is.
            if (run.textType == TT_RUBY || run.textType == TT_SIC ||
                run.textType == TT_RUBY_BASE_START)
                continue;
            history_.clear();
            return;
        }
        std::u16string_view s = run.str;
        int32_t p = r == from.iIndex ? from.iPos : 0;
        for (size_t i = CharOffset(s, size_t(p)); i < s.size() && RunPoint{r, p} < end;
             i += UnitsAt(s, i), ++p) {
            Placed m;
            m.run = r;
            m.pos = p;
            m.ch = CodePointAt(s, i);
            m.baseWidth = IsHalfWidthClass(run.chrType) ? 2 : 4;
            m.runType = TT_TEXT;
            m.posBefore = m.extentBefore = pos;
            m.lastBefore = before;
            moved.push_back(m);
            const int w = charWidth({r, p}, {r, p});
            pos += w;
            before = LastChar{true,        true,    w != m.baseWidth,    m.ch, w,
                              m.baseWidth, TT_TEXT, kinsoku_.code(m.ch), r,    p};
        }
    }
    if (pos - colStart_ != width) {
        history_.clear();
        return;
    }
    for (Placed& h : history_) {
        h.posBefore += width;
        h.extentBefore += width;
    }
    if (!history_.empty()) history_.front().lastBefore = before;
    history_.insert(history_.begin(), moved.begin(), moved.end());
}

RunPoint CYbIndexCreator::endListBefore(const RunPoint& at, const RunPoint& columnStart) const {
    const auto& runs = info_->runs;
    int32_t r = at.iIndex;
    int32_t p = at.iPos - 1;
    while (p < 0) {
        // Runs that take no room (the ruby bar, ruby, marks) are looked through; anything
        // else set in the column, or a run that steers the columns, ends the search.
        if (--r < 0) return at;
        const int type = runs[size_t(r)].textType;
        if (type == TT_TEXT || type == TT_DASH) {
            p = int32_t(CharCount(runs[size_t(r)].str)) - 1;
        } else if (type == TT_HANGING || type == TT_AUTO_HORIZONTAL || type == TT_HORIZONTAL ||
                   type == TT_EXTERNAL_CHAR || type == TT_REPEAT_MARK ||
                   type == TT_VOICED_REPEAT_MARK ||
                   (type >= TT_PAREN_NOTE && type <= TT_SUBSCRIPT) || type == TT_CHAR_NOTE ||
                   (type >= TT_LINE_INDENT && type <= TT_PICTURE_SPREAD) ||
                   (type >= TT_NEXT_LINE && type <= TT_NEXT_LEAF)) {
            return at;
        }
    }
    RunPoint here{r, p};
    if (!(columnStart < here)) return at;
    std::u16string_view s = runs[size_t(r)].str;
    return kinsoku_.isEnd(CodePointAt(s, CharOffset(s, size_t(p)))) ? here : at;
}

void CYbIndexCreator::reservePicture(int32_t index, int count) {
    int32_t n = std::max(1, count);
    int32_t first = n * CeilDiv(boxSeq_, n) + 1;
    if (!reserved_.empty()) first = std::max(first, n * CeilDiv(*reserved_.rbegin(), n) + 1);
    int32_t last = first + n - 1;
    for (int32_t box = boxSeq_; box <= last; ++box)
        reserved_.insert(box);
    buffer_.pictureBoxes()[TextPoint{line_, index, 0}] = {first, last};
}

}  // namespace Yomibon
