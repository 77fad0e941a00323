// Pages and positions: a page holds half a spread's columns and half its text boxes;
// pictures that take whole boxes are found through the picture box map.
#include <algorithm>

#include "text/txt_document.h"

namespace Yomibon {

int32_t CYbTxtDocument::boxesPerPage() const {
    // A layout with a single text box still has one box per page (never divide by zero).
    return std::max(layout_->textBoxCount() / 2, 1);
}

bool CYbTxtDocument::pageToPoint(int32_t page, TextPoint& out) const {
    if (page < 0) return false;
    int64_t half = boxesPerPage();
    int64_t first = int64_t(page) * half + 1;
    int64_t last = int64_t(page) * half + std::max(layout_->textBoxCount(), 1);
    for (const auto& [point, boxes] : buffer_.pictureBoxes()) {
        if (first <= boxes.first && boxes.first <= last) {
            out = point;
            return true;
        }
    }
    int64_t column = int64_t(layout_->lineCount()) * (page / 2);
    if (column > INT32_MAX) return false;
    return buffer_.columnToPoint(int(column), out);
}

int32_t CYbTxtDocument::pointToPage(const TextPoint& point) const {
    auto picture = buffer_.pictureBoxes().find(point);
    if (picture != buffer_.pictureBoxes().end())
        return std::max(picture->second.first - 1, 0) / boxesPerPage();
    if (point.iLine < 0) return -1;
    if (point.iLine >= buffer_.lineCount()) return pageCount_;
    const LineInfo& line = buffer_.lines()[size_t(point.iLine)];
    int32_t column = line.iStartCol - 1;
    for (const TextTurnPos& turn : line.turns) {
        if (TextPoint{point.iLine, turn.iIndex, turn.iPos} > point) break;
        ++column;
    }
    int32_t perPage = layout_->lineCount() / 2;
    return column < perPage ? 0 : column / std::max(perPage, 1);
}

void CYbTxtDocument::computePageCount() {
    if (buffer_.lineCount() == 0) {
        pageCount_ = 1;
        return;
    }
    // The last column used decides: a text that fills its last spread exactly does not
    // open a further, blank one.
    int32_t last = std::max(buffer_.lines().back().iNextCol - 1, 0);
    int32_t perPage = layout_->lineCount() / 2;
    int32_t count = (last < perPage ? 0 : last / std::max(perPage, 1)) | 1;
    for (const auto& entry : buffer_.pictureBoxes()) {
        int32_t page = (std::max(entry.second.first - 1, 0) / boxesPerPage()) | 1;
        count = std::max(count, page);
    }
    pageCount_ = count;
}

}  // namespace Yomibon
