#include "text/txt_search.h"

#include <algorithm>
#include <climits>

#include "platform/char_type.h"
#include "platform/utf16.h"

namespace Yomibon {

namespace {

// The runs whose text counts as the line's plain text when a hit runs on past its run.
bool IsPlainText(int type) {
    return type == TT_TEXT || type == TT_HANGING;
}

// A lone low surrogate in the search string must not match the tail of a pair.
bool IsCharStart(std::u16string_view s, size_t i) {
    return i == 0 || !(IsLowSurrogate(s[i]) && IsHighSurrogate(s[i - 1]));
}

}  // namespace

void CYbTxtSearch::StartSearch(const TextPoint& start, bool forward, std::u16string_view text,
                               bool wrap) {
    text_.assign(text);
    first_ = text_.empty() ? 0 : CodePointAt(text_, 0);
    firstClass_ = text_.empty() ? 0 : CharClass(first_);
    length_ = int32_t(CharCount(text_));
    wrap_ = wrap;
    forward_ = forward;
    current_ = start;
    // A forward search from the top of a page must be able to hit its very first character,
    // so the first directional step is taken here instead of being added twice.
    includeCurrent_ = forward;
}

bool CYbTxtSearch::ready() const {
    return buffer_ != nullptr && !text_.empty() && buffer_->lineCount() > 0;
}

bool CYbTxtSearch::candidate(const TextInfo& run) const {
    return run.textType == TT_TEXT && run.chrType == firstClass_;
}

bool CYbTxtSearch::matchAt(int32_t line, int32_t run, size_t unit) const {
    const auto& runs = buffer_->lines()[size_t(line)].runs;
    std::u16string_view want = text_;
    size_t k = 0;
    for (size_t r = size_t(run); r < runs.size() && k < want.size(); ++r, unit = 0) {
        if (!IsPlainText(runs[r].textType)) continue;
        std::u16string_view s = runs[r].str;
        size_t n = std::min(s.size() - std::min(unit, s.size()), want.size() - k);
        if (s.compare(unit, n, want.substr(k, n)) != 0) return false;
        k += n;
    }
    return k == want.size();
}

bool CYbTxtSearch::forwardInRun(int32_t line, int32_t run, int32_t fromPos, TextPoint& out) const {
    std::u16string_view s = buffer_->lines()[size_t(line)].runs[size_t(run)].str;
    size_t unit = CharOffset(s, size_t(std::max(fromPos, 0)));
    int32_t pos = std::max(fromPos, 0);
    size_t counted = unit;
    while (unit < s.size()) {
        size_t at = s.find(text_[0], unit);
        if (at == std::u16string_view::npos) return false;
        pos += int32_t(CharCount(s.substr(counted, at - counted)));
        counted = at;
        if (IsCharStart(s, at) && matchAt(line, run, at)) {
            out = {line, run, pos};
            return true;
        }
        unit = at + 1;
    }
    return false;
}

bool CYbTxtSearch::backwardInRun(int32_t line, int32_t run, int32_t fromPos, TextPoint& out) const {
    if (fromPos < 0) return false;
    std::u16string_view s = buffer_->lines()[size_t(line)].runs[size_t(run)].str;
    if (s.empty()) return false;
    size_t unit = std::min(CharOffset(s, size_t(fromPos)), s.size() - 1);
    for (;;) {
        size_t at = s.rfind(text_[0], unit);
        if (at == std::u16string_view::npos) return false;
        if (IsCharStart(s, at) && matchAt(line, run, at)) {
            out = {line, run, int32_t(CharCount(s.substr(0, at)))};
            return true;
        }
        if (at == 0) return false;
        unit = at - 1;
    }
}

bool CYbTxtSearch::FindForward(TextPoint& out) {
    bool include = includeCurrent_;
    includeCurrent_ = false;
    if (!ready() || current_.iLine >= buffer_->lineCount()) return false;
    const auto& lines = buffer_->lines();
    int32_t line = std::max(current_.iLine, 0);
    int32_t run = current_.iLine < 0 ? 0 : std::max(current_.iIndex, 0);
    int32_t pos = current_.iLine < 0 ? 0 : std::max(current_.iPos, 0) + (include ? 0 : 1);
    for (; line < int32_t(lines.size()); ++line, run = 0, pos = 0) {
        const auto& runs = lines[size_t(line)].runs;
        for (; run < int32_t(runs.size()); ++run, pos = 0) {
            if (!candidate(runs[size_t(run)])) continue;
            if (forwardInRun(line, run, pos, out)) {
                current_ = out;
                return true;
            }
        }
    }
    return false;
}

TextPoint CYbTxtSearch::endPoint() const {
    int32_t line = buffer_->lineCount() - 1;
    int32_t runs = int32_t(buffer_->lines()[size_t(line)].runs.size());
    return {line, std::max(runs - 1, 0), INT32_MAX};
}

// The character before a point; a position 0 steps to the end of the previous run, and a
// run index of -1 to the end of the previous line.
TextPoint CYbTxtSearch::stepBack(const TextPoint& point) const {
    TextPoint p = point;
    if (p.iPos > 0) {
        p.iPos = std::min(p.iPos, INT32_MAX - 1) - 1;
        return p;
    }
    p.iPos = INT32_MAX;
    if (--p.iIndex < 0) {
        --p.iLine;
        p.iIndex = p.iLine < 0 ? 0 : int32_t(buffer_->lines()[size_t(p.iLine)].runs.size()) - 1;
    }
    return p;
}

bool CYbTxtSearch::FindBackward(TextPoint& out) {
    includeCurrent_ = false;
    if (!ready()) return false;
    const auto& lines = buffer_->lines();
    bool fromEnd = current_.iLine < 0 || current_.iLine >= buffer_->lineCount();
    TextPoint p = fromEnd ? endPoint() : current_;
    if (!fromEnd) {
        auto runCount = int32_t(lines[size_t(p.iLine)].runs.size());
        if (p.iIndex >= runCount)
            p = {p.iLine, runCount - 1, INT32_MAX};
        else
            p = stepBack(p);
    }
    for (int32_t line = p.iLine, run = p.iIndex, pos = p.iPos; line >= 0;) {
        const auto& runs = lines[size_t(line)].runs;
        for (; run >= 0; --run, pos = INT32_MAX) {
            if (run >= int32_t(runs.size()) || !candidate(runs[size_t(run)])) continue;
            if (backwardInRun(line, run, pos, out)) {
                current_ = out;
                return true;
            }
        }
        if (--line >= 0) run = int32_t(lines[size_t(line)].runs.size()) - 1;
        pos = INT32_MAX;
    }
    return false;
}

bool CYbTxtSearch::Find(TextPoint& out, bool forward) {
    if (forward ? FindForward(out) : FindBackward(out)) return true;
    if (!wrap_ || !ready()) return false;
    if (forward) {
        current_ = {0, 0, 0};
        includeCurrent_ = true;
        return FindForward(out);
    }
    current_ = {-1, 0, 0};
    return FindBackward(out);
}

TextPoint SearchHitEnd(const CYbTxtBuffer& buffer, const TextPoint& hit, int32_t length) {
    TextPoint end = hit;
    NextPosFunc step(std::max(length - 1, 0), end);
    buffer.forEach(hit, {hit.iLine, INT32_MAX, INT32_MAX}, step);
    return end;
}

}  // namespace Yomibon
