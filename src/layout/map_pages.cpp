// Pages and text positions: which page a position lies on, and where a page begins.
#include <algorithm>

#include "layout/arrange.h"
#include "layout/txt_mapper.h"

namespace Yomibon {

int ColumnToBoxNumber(const MapGeometry& geometry, int column) {
    return FindColumnBox(geometry, column).number;
}

// The arranger's own count, so that the mapper and the document never disagree.
int LastPageNumber(const CYbTxtBuffer& buffer, const MapGeometry& geometry) {
    return LastPageNumber(buffer, geometry.columnsPerSpread, geometry.boxCount());
}

int PageOfPoint(const CYbTxtBuffer& buffer, const MapGeometry& geometry, const TextPoint& point) {
    auto picture = buffer.pictureBoxes().find(point);
    if (picture != buffer.pictureBoxes().end())
        return std::max(0, picture->second.first - 1) / geometry.boxesPerPage();
    if (point.iLine >= buffer.lineCount()) return LastPageNumber(buffer, geometry);
    if (point.iLine < 0) return 0;
    const LineInfo& line = buffer.lines()[point.iLine];
    const RunPoint at{point.iIndex, point.iPos};
    int turns = 0;
    for (const TextTurnPos& t : line.turns)
        if (RunPoint{t.iIndex, t.iPos} <= at) ++turns;
    const int column = line.iStartCol - 1 + turns;
    const int perPage = geometry.columnsPerPage();
    return perPage > 0 && column >= perPage ? column / perPage : 0;
}

// A picture whose first box lies on the page's spread begins it. The spread is that of
// the even page at or below `page`: an odd page's window would otherwise reach half a
// spread into the next one and answer with a picture that lies there.
bool FirstPointOfPage(const CYbTxtBuffer& buffer, const MapGeometry& geometry, int page,
                      TextPoint& point) {
    const int count = geometry.boxCount();
    const int even = page & ~1;
    for (const auto& [at, boxes] : buffer.pictureBoxes()) {
        const int d = boxes.first;
        if (even * count / 2 + 1 <= d && d <= count + even * count / 2) {
            point = at;
            return true;
        }
    }
    return buffer.columnToPoint(geometry.columnsPerSpread * (page / 2), point);
}

}  // namespace Yomibon
