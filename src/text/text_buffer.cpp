#include "text/text_buffer.h"

#include <algorithm>
#include <climits>

#include "platform/utf16.h"

namespace Yomibon {

void CYbTxtBuffer::swap(CYbTxtBuffer& other) noexcept {
    lines_.swap(other.lines_);
    bold_.swap(other.bold_);
    narrow_.swap(other.narrow_);
    pictures_.swap(other.pictures_);
    spreads_.swap(other.spreads_);
    sizes_.swap(other.sizes_);
    wide_.swap(other.wide_);
    title_.swap(other.title_);
    author_.swap(other.author_);
    info_.swap(other.info_);
    notice_.swap(other.notice_);
}

void CYbTxtBuffer::clear() {
    lines_.clear();
    bold_.clear();
    narrow_.clear();
    pictures_.clear();
    spreads_.clear();
    sizes_.clear();
    wide_.clear();
    title_.clear();
    author_.clear();
    notice_.clear();
}

void CYbTxtBuffer::forEachAll(CYbTypeFunc& func) {
    for (int32_t l = 0; l < int32_t(lines_.size()); ++l) {
        auto& runs = lines_[size_t(l)].runs;
        if (runs.empty()) {
            TextInfo empty;
            empty.textType = TT_TEXT;
            if (func.isValid(TT_TEXT) && !func.setType({l, 0, 0}, empty)) return;
            continue;
        }
        for (int32_t r = 0; r < int32_t(runs.size()); ++r) {
            if (!func.isValid(runs[size_t(r)].textType)) continue;
            if (!func.setType({l, r, 0}, runs[size_t(r)])) return;
        }
    }
}

void CYbTxtBuffer::forEachAll(CYbCharFunc& func) const {
    for (int32_t l = 0; l < int32_t(lines_.size()); ++l) {
        const auto& runs = lines_[size_t(l)].runs;
        for (int32_t r = 0; r < int32_t(runs.size()); ++r) {
            if (!func.isValid(runs[size_t(r)].textType)) continue;
            std::u16string_view s = runs[size_t(r)].str;
            int32_t pos = 0;
            for (size_t i = 0; i < s.size(); i += UnitsAt(s, i), ++pos)
                if (!func.setChar({l, r, pos})) return;
        }
    }
}

void CYbTxtBuffer::forEach(const TextPoint& begin, const TextPoint& end, CYbCharFunc& func) const {
    if (lines_.empty()) return;
    int32_t lineCount = int32_t(lines_.size());
    int32_t line = (begin.iLine < 0 || begin.iLine >= lineCount) ? lineCount - 1 : begin.iLine;
    int32_t firstRun = begin.iIndex;
    int32_t runCount = int32_t(lines_[size_t(line)].runs.size());
    if (firstRun < 0 || firstRun >= runCount) firstRun = std::max(runCount - 1, 0);
    int32_t firstPos = std::max(begin.iPos, 0);
    for (; line < lineCount; ++line, firstRun = 0, firstPos = 0) {
        if (TextPoint{line, firstRun, firstPos} > end) return;
        const auto& runs = lines_[size_t(line)].runs;
        for (int32_t r = firstRun; r < int32_t(runs.size()); ++r, firstPos = 0) {
            if (TextPoint{line, r, firstPos} > end) return;
            if (!func.isValid(runs[size_t(r)].textType)) continue;
            std::u16string_view s = runs[size_t(r)].str;
            int32_t pos = firstPos;
            for (size_t i = CharOffset(s, size_t(firstPos)); i < s.size();
                 i += UnitsAt(s, i), ++pos) {
                TextPoint p{line, r, pos};
                if (p > end) return;
                if (!func.setChar(p)) return;
            }
        }
    }
}

char32_t CYbTxtBuffer::charAt(const TextPoint& point) const {
    if (point.iLine < 0 || point.iLine >= int32_t(lines_.size())) return 0;
    const auto& runs = lines_[size_t(point.iLine)].runs;
    if (point.iIndex < 0 || point.iIndex >= int32_t(runs.size()) || point.iPos < 0) return 0;
    std::u16string_view s = runs[size_t(point.iIndex)].str;
    size_t at = CharOffset(s, size_t(point.iPos));
    return at < s.size() ? CodePointAt(s, at) : 0;
}

void CYbTxtBuffer::getText(std::u16string& out, const TextPoint& begin, const TextPoint& end,
                           int limit) const {
    out.clear();
    TextOnly func(*this, out, limit);
    forEach(begin, end, func);
}

bool CYbTxtBuffer::isBold(const TextPoint& point) const {
    auto it = bold_.find(point);
    return it != bold_.end() && it->second != 0;
}

int CYbTxtBuffer::charSize(const TextPoint& point) const {
    if (sizes_.empty()) return 16;
    auto it = sizes_.find(point);
    return it == sizes_.end() ? 16 : int(it->second);
}

int CYbTxtBuffer::findLineOfColumn(int column) const {
    auto holds = [column](const LineInfo& l) {
        return l.iStartCol <= column && column < l.iNextCol;
    };
    // Arranged lines start in ascending column order, so look where the column falls first.
    auto after = std::upper_bound(lines_.begin(), lines_.end(), column,
                                  [](int c, const LineInfo& l) { return c < l.iStartCol; });
    if (after != lines_.begin() && holds(*(after - 1))) return int(after - lines_.begin()) - 1;
    auto it = std::find_if(lines_.begin(), lines_.end(), holds);
    return it == lines_.end() ? -1 : int(it - lines_.begin());
}

bool CYbTxtBuffer::columnToPoint(int column, TextPoint& out) const {
    int line = findLineOfColumn(column);
    if (line < 0) return false;
    const LineInfo& info = lines_[size_t(line)];
    if (info.turns.empty()) return false;
    size_t k = std::min(size_t(column - info.iStartCol), info.turns.size() - 1);
    out = {line, info.turns[k].iIndex, info.turns[k].iPos};
    return true;
}

// ---- TextOnly

TextOnly::TextOnly(const CYbTxtBuffer& buffer, std::u16string& out, int limit)
    : buffer_(buffer), out_(out), limit_(limit) {}

TextOnly::~TextOnly() {
    if (open_ && !stopped_) flush();
}

bool TextOnly::isValid(int textType) {
    return textType == TT_TEXT || textType == TT_HANGING;
}

void TextOnly::flush() {
    std::u16string_view s =
        buffer_.lines()[size_t(segBegin_.iLine)].runs[size_t(segBegin_.iIndex)].str;
    size_t from = CharOffset(s, size_t(segBegin_.iPos));
    size_t to = CharOffset(s, size_t(segEnd_.iPos));
    to = std::min(s.size(), to + UnitsAt(s, to));
    if (from < to) out_.append(s.substr(from, to - from));
}

bool TextOnly::setChar(const TextPoint& point) {
    if (open_ && point.iLine == segEnd_.iLine && point.iIndex == segEnd_.iIndex) {
        segEnd_ = point;
        return true;
    }
    if (open_) {
        flush();
        for (int32_t l = segEnd_.iLine; l < point.iLine; ++l)
            out_ += u"\r\n";
        if (limit_ > 0 && out_.size() > size_t(limit_)) {
            stopped_ = true;
            return false;
        }
    }
    open_ = true;
    segBegin_ = segEnd_ = point;
    return true;
}

// ---- HitMap

HitMap::HitMap(const CYbTxtBuffer& buffer, std::u16string& out, size_t count)
    : buffer_(buffer), out_(out), count_(count) {}

bool HitMap::isValid(int textType) {
    return textType == TT_TEXT || textType == TT_SOUND_MARK;
}

bool HitMap::setChar(const TextPoint& point) {
    ++hits_[buffer_.charAt(point)];
    return true;
}

HitMap::~HitMap() {
    std::vector<std::pair<char32_t, size_t>> order(hits_.begin(), hits_.end());
    size_t keep = std::min(count_, order.size());
    std::partial_sort(order.begin(), order.begin() + ptrdiff_t(keep), order.end(),
                      [](const auto& a, const auto& b) {
                          return a.second != b.second ? a.second > b.second : a.first < b.first;
                      });
    out_.clear();
    for (size_t i = 0; i < keep; ++i)
        AppendCodePoint(out_, order[i].first);
}

// ---- NextPosFunc, BoldSet, BoldType

bool NextPosFunc::setChar(const TextPoint& point) {
    out_ = point;
    return --remaining_ >= 0;
}

bool BoldSet::setChar(const TextPoint& point) {
    buffer_.boldSet()[point] = 1;
    return true;
}

bool BoldType::isValid(int textType) {
    // Headings are set bold as well.
    return textType == TT_BOLD || textType == TT_BOLD_START || textType == TT_BOLD_END ||
           (textType >= TT_HEADING_LARGE && textType <= TT_HEADING_SMALL);
}

void BoldType::mark(const TextPoint& begin, const TextPoint& end) {
    BoldSet set(buffer_);
    buffer_.forEach(begin, end, set);
}

bool BoldType::setType(const TextPoint& point, TextInfo& run) {
    switch (run.textType) {
        case TT_BOLD:
        case TT_HEADING_LARGE:
        case TT_HEADING_MEDIUM:
        case TT_HEADING_SMALL: {
            // iPos -1 closes the range at the end of its run.
            int32_t endPos = run.tpEnd.iPos < 0 ? INT32_MAX : run.tpEnd.iPos;
            mark({point.iLine, run.tpBegin.iIndex, run.tpBegin.iPos},
                 {point.iLine, run.tpEnd.iIndex, endPos});
            break;
        }
        case TT_BOLD_START:
            if (start_.iLine < 0) start_ = point;
            break;
        case TT_BOLD_END:
            if (start_.iLine >= 0) {
                mark(start_, point);
                start_ = {-1, 0, 0};
            }
            break;
        default:
            break;
    }
    return true;
}

void MarkBold(CYbTxtBuffer& buffer) {
    // The walk of forEachAll, with the calls bound to BoldType so that the hundreds of
    // thousands of runs of a long novel are passed over without a virtual call each.
    BoldType func(buffer);
    auto& lines = buffer.lines();
    for (int32_t l = 0; l < int32_t(lines.size()); ++l) {
        auto& runs = lines[size_t(l)].runs;
        for (int32_t r = 0; r < int32_t(runs.size()); ++r)
            if (func.BoldType::isValid(runs[size_t(r)].textType))
                func.BoldType::setType({l, r, 0}, runs[size_t(r)]);
    }
}

}  // namespace Yomibon
