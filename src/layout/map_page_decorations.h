// The decoration runs of a spread: the nombres of its two pages and the running head.
#pragma once

#include <string>
#include <vector>

#include "layout/txt_layout.h"
#include "text/outline.h"
#include "text/text_buffer.h"

namespace Yomibon {

// The nombre of each of the spread's pages (p and p + 1, p = page rounded down to even)
// whose index is above 0, formatted with (page index, page count) by the layout's format
// of its kind, then the running head run.
std::vector<TextInfo> SpreadDecorations(int page, int pageCount, const CYbTxtLayout& layout,
                                        const std::u16string& runningHead);

// The running head of the spread that begins at `firstColumn`: the text of the last
// level-1 outline entry that begins before the next spread's first line, else the title.
std::u16string RunningHeadText(const CYbTxtBuffer& buffer, const std::vector<OutlineEntry>& outline,
                               int firstColumn, int columnsPerSpread);

}  // namespace Yomibon
