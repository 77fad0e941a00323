// Line arrangement: characters, the column-end rules (kinsoku), tate-chu-yoko and the
// narrowing of punctuation pairs.
#include <algorithm>

#include "layout/index_creator.h"
#include "platform/char_type.h"
#include "platform/utf16.h"

namespace Yomibon {

namespace {

// 1 for kanji numerals, 2 for full-width digits, 0 for anything else.
int NumeralSet(char32_t c) {
    static constexpr std::u16string_view kKanji = u"一二三四五六七八九〇";
    if (kKanji.find(char16_t(c)) != std::u16string_view::npos && c < 0x10000) return 1;
    if (c >= U'０' && c <= U'９') return 2;
    return 0;
}

char32_t LastCharOf(std::u16string_view s) {
    if (s.empty()) return 0;
    size_t i = s.size() - 1;
    if (i > 0 && IsLowSurrogate(s[i]) && IsHighSurrogate(s[i - 1])) --i;
    return CodePointAt(s, i);
}

}  // namespace

void CYbIndexCreator::arrangeText(int32_t index, TextInfo& run) {
    if (run.textType == TT_HANGING) return;  // dropped earlier in this arrangement
    pos_ = std::max(pos_, extent_);
    if (run.textType == TT_TEXT && arrangeTateChuYoko(index, run)) return;
    checkNumeralSeparator(index, run);
    int width = IsHalfWidthClass(run.chrType) ? 2 : 4;
    std::u16string_view s = run.str;
    int32_t pos = 0;
    for (size_t i = 0; i < s.size(); i += UnitsAt(s, i), ++pos) {
        char32_t ch = CodePointAt(s, i);
        const int w = sizedWidth(index, pos, width);
        if (placed_ == 0 && columns_.back().byOverflow) {
            if (dropAtColumnStart(index, pos, ch, run)) {
                if (run.textType == TT_HANGING) return;
                continue;
            }
            if (pullBackAtColumnStart(index, pos, ch, w)) continue;
        }
        placeChar(index, pos, ch, w, run.textType);
        if (offBodySize_) keepWide(index, pos);
        offBodySize_ = false;
    }
}

bool CYbIndexCreator::arrangeTateChuYoko(int32_t index, TextInfo& run) {
    if (run.chrType != 0x40 && run.chrType != CLASS_EXCLAMATION) return false;
    size_t count = CharCount(run.str);
    if (count == 0 || int(count) > tateNakaNum_) return false;
    run.textType = TT_AUTO_HORIZONTAL;
    char32_t first = CodePointAt(run.str, 0);
    if (placed_ > 0 && pos_ + 4 > limit_) {
        bool hangs = strict_ ? kinsoku_.isHanging(first) : kinsoku_.isStart(first);
        if (hangs && !noHang_ && columns_.back().hanging < maxHanging_) {
            ++columns_.back().hanging;
        } else if (!(last_.inColumn && kinsoku_.isEnd(last_.ch) && moveLastWith())) {
            startColumn(index, 0, true);
        }
    }
    remember(index, 0, first, 4, TT_AUTO_HORIZONTAL, Narrowing{4, 0, false}, false);
    pos_ += 4;
    ++placed_;
    record(index, 0, first, 4, 4, TT_AUTO_HORIZONTAL, 0, false);
    return true;
}

void CYbIndexCreator::placeCell(int32_t index, int width, int runType) {
    pos_ = std::max(pos_, extent_);
    // Cells that cannot be broken go whole to the next column rather than past the box end.
    if (placed_ > 0 && pos_ + width > limit_) {
        // What may not end a column goes along.
        if (!(last_.inColumn && kinsoku_.isEnd(last_.ch) && moveLastWith()))
            startColumn(index, 0, true);
    }
    remember(index, 0, 0, width, runType, Narrowing{width, 0, false}, false);
    pos_ += width;
    ++placed_;
    record(index, 0, 0, width, width, runType, 0, false);
}

void CYbIndexCreator::checkNumeralSeparator(int32_t index, const TextInfo& run) {
    const auto& runs = info_->runs;
    if (run.str != u"、" && run.str != u"・") return;
    if (index == 0 || size_t(index) + 1 >= runs.size()) return;
    const TextInfo& before = runs[size_t(index) - 1];
    const TextInfo& after = runs[size_t(index) + 1];
    if (before.textType != TT_TEXT || after.textType != TT_TEXT || after.str.empty()) return;
    int set = NumeralSet(LastCharOf(before.str));
    if (set == 0 || set != NumeralSet(CodePointAt(after.str, 0))) return;
    uint8_t code = kinsoku_.code(run.str[0]);
    if (code == 0) return;
    buffer_.narrowMarks()[TextPoint{line_, index, 0}] = code;
    numeralRun_ = index + 1;
    numeralBits_ = CYbKinsoku::SetBits(code);
}

void CYbIndexCreator::placeChar(int32_t index, int32_t pos, char32_t ch, int width, int runType) {
    int baseWidth = width;
    if (index == numeralRun_ && pos == 0) {
        // The numeral after a narrowed separator carries the separator's saving.
        if (last_.inColumn && last_.run == index - 1) width = numeralBits_;
        numeralRun_ = -1;
    }
    // Punctuation off the body size keeps its full cell: the narrowing codes are quarters
    // of a body cell.
    uint8_t code = runType == TT_EXTERNAL_CHAR || offBodySize_ ? 0 : kinsoku_.code(ch);
    Narrowing n = pairNarrowing(code, width);
    if (placed_ == 0 || pos_ - n.pull + n.width <= limit_) {
        remember(index, pos, ch, baseWidth, runType, n, false);
        commit(index, pos, code, n);
        pos_ += n.width;
        ++placed_;
        record(index, pos, ch, n.width, baseWidth, runType, code, n.narrowed);
        return;
    }
    fitAtColumnEnd(index, pos, ch, baseWidth, runType, code, n);
}

CYbIndexCreator::Narrowing CYbIndexCreator::pairNarrowing(uint8_t code, int width) const {
    Narrowing n{width, 0, false};
    if (placed_ == 0 || !last_.inColumn || code == 0 || last_.code == 0) return n;
    n.width = CYbKinsoku::SetBits(code);
    n.narrowed = true;
    if (placed_ > 1 && !last_.narrowed)
        n.pull = std::max(0, last_.width - CYbKinsoku::SetBits(last_.code));
    return n;
}

void CYbIndexCreator::commit(int32_t index, int32_t pos, uint8_t code, const Narrowing& n) {
    if (!n.narrowed) return;
    auto& marks = buffer_.narrowMarks();
    marks[TextPoint{line_, index, pos}] = code;
    if (placed_ > 1 && !last_.narrowed) {
        marks[TextPoint{line_, last_.run, last_.pos}] = last_.code;
        pos_ -= n.pull;
        last_.width -= n.pull;
        last_.narrowed = true;
    }
}

void CYbIndexCreator::fitAtColumnEnd(int32_t index, int32_t pos, char32_t ch, int width,
                                     int runType, uint8_t code, const Narrowing& n) {
    if (strict_ && fitStrict(index, pos, ch, width, runType, code, n)) return;
    bool pIn = last_.valid && last_.inColumn;
    bool canHang = columns_.back().hanging < maxHanging_;
    bool pair = pIn && pos_ < limit_ &&
                ((kinsoku_.isSepNG(ch) && ch == last_.ch && last_.run == index) ||
                 (runType == TT_DASH && last_.runType == TT_DASH && last_.run == index - 1));
    bool forbidden = !pair && canHang && kinsoku_.isStart(ch) && forbiddenStart(index, pos) &&
                     (!strict_ || kinsoku_.isHanging(ch));
    if (pair || forbidden) {
        // Without noHang the character hangs below the column; with it, the character
        // before goes along to the next column.
        if (noHang_ && moveLastWith()) return placeChar(index, pos, ch, width, runType);
        return hang(index, pos, ch, width, runType, code, n);
    }
    // A mark that may not begin a column and cannot hang (a fourth mark, or a long run of
    // equal ones) takes the text before it along instead.
    if (!pair && kinsoku_.isStart(ch) && pushOut(index, pos, ch, width, runType)) return;
    if (pIn && placed_ >= 2 && kinsoku_.isSkip(last_.ch)) {
        // A space before the column end is dropped; the column ends without it.
        pos_ -= last_.width;
        --placed_;
        startColumn(index, pos, true);
        return placeChar(index, pos, ch, width, runType);
    }
    if (pIn && kinsoku_.isEnd(last_.ch) && moveLastWith())
        return placeChar(index, pos, ch, width, runType);
    if (kinsoku_.isSkip(ch)) {
        // What follows the space may not begin a column and cannot hang below this one (a
        // run of four or more equal marks): the word before the space goes along with it.
        if (unhangableAfterSkip(index, pos) && pushOutTail())
            return placeChar(index, pos, ch, width, runType);
        // A space at the column end is dropped; the next column starts after it.
        const TextInfo& run = info_->runs[size_t(index)];
        if (size_t(pos) + 1 < CharCount(run.str))
            startColumn(index, pos + 1, true);
        else
            startColumn(index + 1, 0, true);
        return;
    }
    startColumn(index, pos, true);
    placeChar(index, pos, ch, width, runType);
}

void CYbIndexCreator::hang(int32_t index, int32_t pos, char32_t ch, int width, int runType,
                           uint8_t code, const Narrowing& n) {
    remember(index, pos, ch, width, runType, n, true);
    commit(index, pos, code, n);
    pos_ += n.width;
    ++placed_;
    ++columns_.back().hanging;
    record(index, pos, ch, n.width, width, runType, code, n.narrowed);
}

bool CYbIndexCreator::moveLastWith() {
    if (!last_.valid || !last_.inColumn || placed_ < 2) return false;
    // Every character that may not end a column goes along with the last one: nested
    // opening brackets move together.
    if (!history_.empty() && history_.back().run == last_.run && history_.back().pos == last_.pos) {
        size_t first = history_.size() - 1;
        while (first > 1 && history_.size() - first < 4 && kinsoku_.isEnd(history_[first - 1].ch))
            --first;
        if (first < history_.size() - 1 && moveTail(first)) return true;
    }
    LastChar p = last_;
    if (p.narrowed) buffer_.narrowMarks().erase(TextPoint{line_, p.run, p.pos});
    pos_ -= p.width;
    --placed_;
    startColumn(p.run, p.pos, true);
    pos_ += p.baseWidth;
    ++placed_;
    last_ = p;
    last_.inColumn = true;
    last_.narrowed = false;
    last_.width = p.baseWidth;
    return true;
}

void CYbIndexCreator::record(int32_t index, int32_t pos, char32_t ch, int width, int baseWidth,
                             int runType, uint8_t code, bool narrowed) {
    last_.valid = true;
    last_.inColumn = true;
    last_.narrowed = narrowed;
    last_.ch = ch;
    last_.width = width;
    last_.baseWidth = baseWidth;
    last_.runType = runType;
    last_.code = code;
    last_.run = index;
    last_.pos = pos;
    boxHolds_ = true;
}

bool CYbIndexCreator::dropAtColumnStart(int32_t index, int32_t pos, char32_t ch, TextInfo& run) {
    if (!kinsoku_.isSkip(ch)) return false;
    TextTurnPos& turn = info_->turns.back();
    std::u16string_view s = run.str;
    bool allSkip = true;
    for (size_t i = 0; i < s.size() && allSkip; i += UnitsAt(s, i))
        allSkip = kinsoku_.isSkip(CodePointAt(s, i));
    if (pos == 0 && allSkip) {
        run.textType = TT_HANGING;
        // One dropped space is the column's zero-height first character; longer runs of
        // spaces stay behind at the end of the previous column.
        if (CharCount(s) > 1) turn = TextTurnPos{index + 1, 0, 0, 0, turn.iColumn, turn.iBottom};
        return true;
    }
    size_t count = CharCount(s);
    turn.iIndex = size_t(pos) + 1 < count ? index : index + 1;
    turn.iPos = size_t(pos) + 1 < count ? pos + 1 : 0;
    return true;
}

bool CYbIndexCreator::pullBackAtColumnStart(int32_t index, int32_t pos, char32_t ch, int width) {
    auto& turns = info_->turns;
    size_t k = turns.size();
    if (noHang_ || k < 2 || !kinsoku_.isStart(ch)) return false;
    TextTurnPos& prev = turns[k - 2];
    ColumnInfo& prevCol = columns_[k - 2];
    if (prev.iColumn + 1 != turns.back().iColumn || prev.iCount <= 0) return false;
    if (prevCol.hanging >= maxHanging_ || !forbiddenStart(index, pos)) return false;
    if (strict_ && (!kinsoku_.isHanging(ch) || forbiddenAhead(index, pos + 1) > 0)) return false;
    // The mark goes back to hang below the previous column.
    ++prev.iCount;
    prev.iLength += width;
    ++prevCol.hanging;
    size_t count = CharCount(info_->runs[size_t(index)].str);
    TextTurnPos& turn = turns.back();
    turn.iIndex = size_t(pos) + 1 < count ? index : index + 1;
    turn.iPos = size_t(pos) + 1 < count ? pos + 1 : 0;
    last_.inColumn = false;
    return true;
}

bool CYbIndexCreator::forbiddenStart(int32_t index, int32_t pos) const {
    const auto& runs = info_->runs;
    bool any = false;
    for (size_t r = size_t(index); r < runs.size(); ++r) {
        if (r > size_t(index) && runs[r].textType != TT_TEXT) break;
        std::u16string_view s = runs[r].str;
        size_t i = r == size_t(index) ? CharOffset(s, size_t(pos)) : 0;
        int count = 0;  // counted afresh in every run
        char32_t first = 0;
        for (; i < s.size(); i += UnitsAt(s, i)) {
            char32_t c = CodePointAt(s, i);
            if (!kinsoku_.isStart(c)) return any;
            if (count == 0) first = c;
            ++count;
            any = true;
            if (count == 2 && c != first) return true;
            if (count > kMaxHanging) return false;
        }
    }
    return any;
}

}  // namespace Yomibon
