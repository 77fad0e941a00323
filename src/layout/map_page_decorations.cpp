#include "layout/map_page_decorations.h"

#include <algorithm>

#include "platform/format.h"

namespace Yomibon {

std::vector<TextInfo> SpreadDecorations(int page, int pageCount, const CYbTxtLayout& layout,
                                        const std::u16string& runningHead) {
    std::vector<TextInfo> out;
    const int first = page & ~1;
    for (int p = first; p <= first + 1; ++p) {
        if (p <= 0) continue;
        const bool even = p % 2 == 0;
        TextInfo run;
        run.textType = even ? TT_NOMBRE_EVEN : TT_NOMBRE_ODD;
        run.str =
            FormatMessage(layout.GetNombreFormat(even ? 1 : 0), {int64_t(p), int64_t(pageCount)});
        out.push_back(std::move(run));
    }
    TextInfo head;
    head.textType = TT_RUNNING_HEAD;
    head.str = runningHead;
    out.push_back(std::move(head));
    return out;
}

std::u16string RunningHeadText(const CYbTxtBuffer& buffer, const std::vector<OutlineEntry>& outline,
                               int firstColumn, int columnsPerSpread) {
    const int next = firstColumn + std::max(columnsPerSpread, 1);
    const auto& lines = buffer.lines();
    // Lines are in column order: the next spread begins with the first line reaching it.
    auto it = std::partition_point(lines.begin(), lines.end(),
                                   [&](const LineInfo& l) { return l.iNextCol <= next; });
    const int nextLine = int(it - lines.begin());
    const OutlineEntry* found = nullptr;
    for (const OutlineEntry& e : outline)
        if (e.level == 1 && e.begin.iLine < nextLine) found = &e;
    return found ? found->text : buffer.getTitle();
}

}  // namespace Yomibon
