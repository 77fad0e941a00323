#include "layout/arrange.h"

#include <algorithm>

#include "layout/index_creator.h"
#include "layout/txt_layout.h"
#include "settings/txt_param.h"

namespace Yomibon {

namespace {

int ColumnsPerSpread(const std::vector<LayoutBox>& boxes) {
    int sum = 0;
    for (const LayoutBox& box : boxes)
        sum += std::max(0, box.lines);
    return sum;
}

}  // namespace

int ArrangeDocument(CYbTxtBuffer& buffer, const CYbTxtLayout& layout, const CYbTxtParam& param) {
    const auto& boxes = layout.GetBoxes(TextLayout);
    {
        CYbIndexCreator creator(buffer, boxes, layout.GetSize(TextSize).size, param);
        creator.setRubySize(layout.GetSize(RubySize).size);
        for (int line = 0; line < buffer.lineCount(); ++line)
            creator.IndexLine(line);
    }
    int columns = ColumnsPerSpread(boxes);
    // The arranger falls back to one column per box when the boxes hold none.
    if (columns <= 0) columns = std::max<int>(1, int(boxes.size()));
    return LastPageNumber(buffer, columns, std::max<int>(1, int(boxes.size())));
}

int LastPageNumber(const CYbTxtBuffer& buffer, int columnsPerSpread, int boxCount) {
    if (buffer.lineCount() == 0) return 1;
    int perPage = std::max(1, columnsPerSpread / 2);
    int boxesPerPage = std::max(1, boxCount / 2);
    // The column after the last one used decides, except when it is the first column of a
    // new spread: the text then ends on the spread before.
    int next = buffer.lines().back().iNextCol;
    int lastColumn = std::max(0, next - 1);
    int last = (lastColumn < perPage ? 0 : lastColumn / perPage) | 1;
    for (const auto& [point, range] : buffer.pictureBoxes()) {
        int page = (std::max(1, range.second) - 1) / boxesPerPage | 1;
        last = std::max(last, page);
    }
    return last;
}

int ColumnToBox(int column, const std::vector<LayoutBox>& boxes) {
    int perSpread = ColumnsPerSpread(boxes);
    if (perSpread <= 0 || column < 0) return 0;
    int spread = column / perSpread;
    int within = column % perSpread;
    int index = 0;
    for (const LayoutBox& box : boxes) {
        int lines = std::max(0, box.lines);
        if (within < lines) break;
        within -= lines;
        ++index;
    }
    return spread * int(boxes.size()) + index + 1;
}

}  // namespace Yomibon
