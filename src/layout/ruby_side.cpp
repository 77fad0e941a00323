#include "layout/ruby_side.h"

#include <algorithm>
#include <climits>

namespace Yomibon {

namespace {

// Runs searched on each side for a reading over the same characters.
constexpr int kNearRuns = 64;

RunPoint BaseEnd(const TextInfo& run) {
    RunPoint e = run.tpEnd;
    if (e.iPos < 0) e.iPos = INT32_MAX;
    return e;
}

}  // namespace

bool IsLeftSideRuby(const std::vector<TextInfo>& runs, int index) {
    if (index < 0 || index >= int(runs.size())) return false;
    const TextInfo& run = runs[size_t(index)];
    if (run.textType == TT_LEFT_RUBY) return true;
    if (run.textType != TT_SIC) return false;
    const RunPoint b = run.tpBegin;
    const RunPoint e = BaseEnd(run);
    const int from = std::max(0, index - kNearRuns);
    const int to = std::min(int(runs.size()) - 1, index + kNearRuns);
    for (int r = from; r <= to; ++r) {
        const TextInfo& other = runs[size_t(r)];
        if (other.textType != TT_RUBY) continue;
        if (!(BaseEnd(other) < b) && !(e < other.tpBegin)) return true;
    }
    return false;
}

}  // namespace Yomibon
