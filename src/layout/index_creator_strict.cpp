// Line arrangement: taking back the end of a column, and the strict (JLReq 3.1.7, 3.1.8)
// column end: one hanging mark at most, otherwise pushing out or pulling in.
#include <algorithm>

#include "layout/index_creator.h"
#include "platform/char_type.h"
#include "platform/utf16.h"

namespace Yomibon {

namespace {

// Kinds of placed characters that the kinsoku rules see at the top of a column.
bool SetByCharacter(const int runType, char32_t ch) {
    return runType == TT_TEXT || runType == TT_DASH || (runType == TT_EXTERNAL_CHAR && ch != 0);
}

}  // namespace

void CYbIndexCreator::remember(int32_t index, int32_t pos, char32_t ch, int baseWidth, int runType,
                               const Narrowing& n, bool hung) {
    Placed p;
    p.run = index;
    p.pos = pos;
    p.ch = ch;
    p.baseWidth = baseWidth;
    p.runType = runType;
    p.posBefore = pos_;
    p.extentBefore = extent_;
    p.lastBefore = last_;
    p.pulledPrevious = n.narrowed && placed_ > 1 && !last_.narrowed;
    p.hung = hung;
    history_.push_back(p);
}

// Takes the characters from history entry `first` on out of the column and sets them again
// at the top of the next one. At least one character stays.
bool CYbIndexCreator::moveTail(size_t first) {
    if (first == 0 || first >= history_.size()) return false;
    const size_t count = history_.size() - first;
    if (placed_ - int(count) < 1) return false;
    std::vector<Placed> tail(history_.begin() + std::ptrdiff_t(first), history_.end());
    auto& marks = buffer_.narrowMarks();
    for (const Placed& t : tail) {
        marks.erase(TextPoint{line_, t.run, t.pos});
        if (t.hung) --columns_.back().hanging;
    }
    if (tail.front().pulledPrevious)
        marks.erase(TextPoint{line_, history_[first - 1].run, history_[first - 1].pos});
    pos_ = tail.front().posBefore;
    extent_ = tail.front().extentBefore;
    last_ = tail.front().lastBefore;
    placed_ -= int(count);
    history_.resize(first);
    startColumn(tail.front().run, tail.front().pos, true);
    for (const Placed& t : tail) {
        pos_ = std::max(pos_, extent_);
        if (SetByCharacter(t.runType, t.ch)) {
            placeChar(t.run, t.pos, t.ch, t.baseWidth, t.runType);
            keepSpread(t, tail.front());
            continue;
        }
        // Cells (tate-chu-yoko, repeat marks, pictures of characters) keep their width.
        remember(t.run, t.pos, t.ch, t.baseWidth, t.runType, Narrowing{t.baseWidth, 0, false},
                 false);
        pos_ += t.baseWidth;
        ++placed_;
        record(t.run, t.pos, t.ch, t.baseWidth, t.baseWidth, t.runType, 0, false);
        keepSpread(t, tail.front());
    }
    return true;
}

// A spread ruby base that moves whole keeps its room; one split by the move loses it.
void CYbIndexCreator::keepSpread(const Placed& moved, const Placed& head) {
    if (moved.extra <= 0 || moved.spreadRun < 0) return;
    const TextInfo& ruby = info_->runs[size_t(moved.spreadRun)];
    if (ruby.tpBegin < RunPoint{head.run, head.pos}) {
        buffer_.rubySpreads().erase(TextPoint{line_, moved.spreadRun, 0});
        return;
    }
    pos_ += moved.extra;
    history_.back().extra = moved.extra;
    history_.back().spreadRun = moved.spreadRun;
}

bool CYbIndexCreator::pushOut(int32_t index, int32_t pos, char32_t ch, int width, int runType) {
    if (history_.empty() || !last_.inColumn) return false;
    Placed here;
    here.run = index;
    here.pos = pos;
    here.ch = ch;
    here.runType = runType;
    size_t first = history_.size();
    do {
        --first;
    } while (first > 0 && !breakAllowed(history_[first - 1], history_[first]));
    if (breakAllowed(history_.back(), here) || first == 0 || !moveTail(first)) return false;
    pos_ = std::max(pos_, extent_);
    placeChar(index, pos, ch, width, runType);
    return true;
}

bool CYbIndexCreator::pushOutTail() {
    if (history_.size() < 2 || !last_.inColumn) return false;
    size_t first = history_.size() - 1;
    while (first > 0 && !breakAllowed(history_[first - 1], history_[first]))
        --first;
    return first > 0 && moveTail(first);
}

bool CYbIndexCreator::unhangableAfterSkip(int32_t index, int32_t pos) const {
    const auto& runs = info_->runs;
    for (size_t r = size_t(index); r < runs.size(); ++r) {
        if (r > size_t(index) && runs[r].textType != TT_TEXT) return false;
        std::u16string_view s = runs[r].str;
        size_t i = r == size_t(index) ? CharOffset(s, size_t(pos)) : 0;
        int32_t p = r == size_t(index) ? pos : 0;
        for (; i < s.size(); i += UnitsAt(s, i), ++p) {
            const char32_t c = CodePointAt(s, i);
            if (kinsoku_.isSkip(c)) continue;
            if (!kinsoku_.isStart(c)) return false;
            // As the top of the next column would try to hang it below this one.
            const bool hangs =
                !noHang_ && columns_.back().hanging < maxHanging_ &&
                forbiddenStart(int32_t(r), p) &&
                (!strict_ || (kinsoku_.isHanging(c) && forbiddenAhead(int32_t(r), p + 1) == 0));
            return !hangs;
        }
    }
    return false;
}

// A column may end between two characters unless the second may not begin a column, the
// first may not end one, they are an inseparable pair, or they split a ruby base whose
// parts would have no room for their shares of the reading.
bool CYbIndexCreator::breakAllowed(const Placed& before, const Placed& after) const {
    if (kinsoku_.isStart(after.ch) || kinsoku_.isEnd(before.ch)) return false;
    if (kinsoku_.isSepNG(after.ch) && after.ch == before.ch) return false;
    if (after.runType == TT_DASH && before.runType == TT_DASH) return false;
    return !(before.runType == TT_TEXT && after.runType == TT_TEXT &&
             splitsCrowdedBase({before.run, before.pos}, {after.run, after.pos}));
}

// Quarters taken by the characters from (index, pos) on that may not begin a column.
int CYbIndexCreator::forbiddenAhead(int32_t index, int32_t pos) const {
    const auto& runs = info_->runs;
    int width = 0;
    int count = 0;
    for (size_t r = size_t(index); r < runs.size(); ++r) {
        const TextInfo& run = runs[r];
        if (r > size_t(index) && run.textType != TT_TEXT) {
            if (run.textType == TT_DASH || run.textType == TT_EXTERNAL_CHAR ||
                run.textType == TT_HORIZONTAL || run.textType == TT_REPEAT_MARK ||
                run.textType == TT_VOICED_REPEAT_MARK)
                break;
            continue;  // runs that take no room
        }
        std::u16string_view s = run.str;
        size_t i = r == size_t(index) ? CharOffset(s, size_t(std::max(0, pos))) : 0;
        for (; i < s.size(); i += UnitsAt(s, i)) {
            if (!kinsoku_.isStart(CodePointAt(s, i)) || ++count > kMaxHanging) return width;
            width += IsHalfWidthClass(run.chrType) ? 2 : 4;
        }
    }
    return width;
}

// Quarters the column would give back if every mark in it were set narrow.
int CYbIndexCreator::narrowingRoom() const {
    const auto& marks = buffer_.narrowMarks();
    int room = 0;
    for (const Placed& p : history_) {
        if (p.runType != TT_TEXT) continue;
        uint8_t code = kinsoku_.code(p.ch);
        if (code == 0 || marks.count(TextPoint{line_, p.run, p.pos})) continue;
        room += std::max(0, p.baseWidth - CYbKinsoku::SetBits(code));
    }
    return room;
}

bool CYbIndexCreator::fitStrict(int32_t index, int32_t pos, char32_t ch, int width, int runType,
                                uint8_t code, const Narrowing& n) {
    if (history_.empty() || !last_.inColumn) return false;
    Placed here;
    here.run = index;
    here.pos = pos;
    here.ch = ch;
    here.runType = runType;
    const int ahead = forbiddenAhead(index, pos + 1);
    // One mark of the hanging list may hang, when nothing forbidden follows it.
    if (!noHang_ && columns_.back().hanging == 0 && kinsoku_.isHanging(ch) && ahead == 0 &&
        !kinsoku_.isEnd(last_.ch)) {
        hang(index, pos, ch, width, runType, code, n);
        return true;
    }
    if (breakAllowed(history_.back(), here)) return false;  // the ordinary column end
    size_t first = history_.size() - 1;
    while (first > 0 && !breakAllowed(history_[first - 1], history_[first]))
        --first;
    const int pushed = first > 0 ? pos_ - history_[first].posBefore : INT32_MAX;
    // Pulling in: the column's marks set narrow make room for this character and the
    // forbidden ones after it, when that changes the column less than pushing out.
    const int needed = pos_ - n.pull + n.width + ahead - limit_;
    if (needed <= narrowingRoom() + (code ? width - CYbKinsoku::SetBits(code) : 0) &&
        needed <= pushed) {
        remember(index, pos, ch, width, runType, n, false);
        commit(index, pos, code, n);
        pos_ += n.width;
        ++placed_;
        record(index, pos, ch, n.width, width, runType, code, n.narrowed);
        return true;
    }
    return pushOut(index, pos, ch, width, runType);
}

}  // namespace Yomibon
