// Helpers over the runs of the line being built.
#include <algorithm>
#include <iterator>

#include "platform/limits.h"
#include "platform/utf16.h"
#include "text/annotation_table.h"
#include "text/aozora_parser.h"
#include "text/plain_runs.h"

namespace Yomibon {
namespace {

constexpr size_t kHandOverRuns = 4096;

}  // namespace

bool CYbAozoraTxtParser::lastPlain(int32_t& index, int32_t& pos) const {
    return LastPlainPoint(runs_, index, pos);
}

namespace {

// Finds the last occurrence of x in the joined plain runs (given newest first as run
// indices) and maps its first and last character to run points.
bool FindInRuns(const std::vector<TextInfo>& runs, const std::vector<size_t>& newestFirst,
                std::u16string_view x, RunPoint& first, RunPoint& last) {
    std::u16string joined;
    for (size_t k = newestFirst.size(); k-- > 0;)
        joined += runs[newestFirst[k]].str;
    size_t at = joined.rfind(x);
    if (at == std::u16string::npos) return false;
    size_t lastUnit = at + x.size() - 1;
    if (lastUnit > at && IsLowSurrogate(joined[lastUnit]) && IsHighSurrogate(joined[lastUnit - 1]))
        --lastUnit;
    size_t offset = 0;
    for (size_t k = newestFirst.size(); k-- > 0;) {
        size_t r = newestFirst[k];
        std::u16string_view s = runs[r].str;
        if (at >= offset && at < offset + s.size())
            first = {int32_t(r), int32_t(CharCount(s.substr(0, at - offset)))};
        if (lastUnit < offset + s.size()) {
            last = {int32_t(r), int32_t(CharCount(s.substr(0, lastUnit - offset)))};
            return true;
        }
        offset += s.size();
    }
    return false;
}

}  // namespace

bool CYbAozoraTxtParser::searchBack(std::u16string_view x, RunPoint& first, RunPoint& last) const {
    if (x.empty()) return false;
    // Targets lie just before their annotation: look at a short stretch of the newest plain
    // runs first and widen it, up to a bound that keeps a huge line linear.
    std::vector<size_t> plain;
    size_t units = 0, want = x.size() * 2 + 16;
    size_t r = runs_.size();
    while (true) {
        while (r > 0 && units < want) {
            --r;
            if (runs_[r].textType != TT_TEXT) continue;
            plain.push_back(r);
            units += runs_[r].str.size();
        }
        if (units >= x.size() && FindInRuns(runs_, plain, x, first, last)) return true;
        if (r == 0 || units >= Limits::kMaxSearchBackUnits) return false;
        want = std::min(want * 4, Limits::kMaxSearchBackUnits);
    }
}

void CYbAozoraTxtParser::appendRun(int type, std::u16string str, uint16_t chrType, RunPoint begin,
                                   RunPoint end) {
    runs_.push_back(TextInfo{CYbRunText::View(arena_.keep(str)), chrType, begin, end, type});
    noteRunAdded();
}

void CYbAozoraTxtParser::noteRunAdded() {
    // The walk of the line stops once the limit is reached; the line is stored as far as
    // it went and no line after it is read.
    if (storedRuns_ + runs_.size() >= maxRuns_) runsCut_ = true;
}

void CYbAozoraTxtParser::splitRun(int32_t index, int32_t pos) {
    TextInfo& run = runs_[size_t(index)];
    size_t unit = CharOffset(run.str, size_t(pos));
    TextInfo rest = run;
    // Both halves stay views when the run is one (of the source line): no copy.
    const std::u16string_view text = run.str;
    if (run.str.owned()) {
        rest.str = text.substr(unit);
        run.str.resize(unit);
    } else {
        rest.str = CYbRunText::View(text.substr(unit));
        run.str = CYbRunText::View(text.substr(0, unit));
    }
    runs_.insert(runs_.begin() + index + 1, std::move(rest));
    // Points recorded in this line that lie at or after the split move with the text.
    auto shift = [index, pos](RunPoint& p) {
        if (p.iIndex > index)
            ++p.iIndex;
        else if (p.iIndex == index && (p.iPos >= pos || p.iPos < 0))
            p = {index + 1, p.iPos < 0 ? p.iPos : p.iPos - pos};
    };
    for (size_t r = 0; r < runs_.size(); ++r) {
        if (r == size_t(index) || r == size_t(index) + 1) continue;
        if (!RunHoldsPoints(runs_[r].textType)) continue;
        shift(runs_[r].tpBegin);
        shift(runs_[r].tpEnd);
    }
    for (RangeSlot& slot : slots_)
        if (slot.count > 0) shift(slot.start);
    if (pendingBar_ > index) ++pendingBar_;
}

void CYbAozoraTxtParser::flushRunsAsLine() {
    // The working list keeps its capacity; the stored line gets an exact-sized copy, which
    // keeps the buffer small (most lines hold a handful of runs). A very long line that
    // fills its list nearly exactly hands the list over instead: a second copy of it would
    // double the memory a huge line takes at its peak.
    LineInfo line;
    if (runs_.size() >= kHandOverRuns && runs_.capacity() - runs_.size() <= runs_.size() / 8) {
        line.runs.swap(runs_);
    } else {
        line.runs.reserve(runs_.size());
        std::move(runs_.begin(), runs_.end(), std::back_inserter(line.runs));
    }
    runs_.clear();
    pendingBar_ = -1;
    storedRuns_ += line.runs.size();
    buffer_->addLine(std::move(line));
    arena_.clear();
}

}  // namespace Yomibon
