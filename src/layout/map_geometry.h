// What the page mapper reads from a layout: the boxes and sizes of one spread.
#pragma once

#include <vector>

#include "layout/txt_layout.h"

namespace Yomibon {

struct MapGeometry {
    std::vector<LayoutBox> text;         // body text boxes, in reading order
    std::vector<LayoutBox> note;         // note areas
    std::vector<LayoutBox> nombre;       // entry 0 odd pages, entry 1 even pages
    std::vector<LayoutBox> runningHead;  // entry 0 is used
    SizePair textSize;
    SizePair rubySize;
    SizePair noteSize;
    SizePair nombreSize;
    SizePair headSize;
    int32_t paperWidth = 0;
    int32_t paperHeight = 0;
    int columnsPerSpread = 0;  // the sum of the text boxes' lines
    int nombrePlacement = 0;   // 0 outside, 1 centre, 2 inside

    static MapGeometry FromLayout(const CYbTxtLayout& layout);

    // Column pitch: text, its spacing, the ruby lane and its spacing.
    int32_t pitch() const {
        return textSize.size + textSize.spacing + rubySize.size + rubySize.spacing;
    }
    int boxCount() const { return int(text.size()); }
    int boxesPerPage() const { return boxCount() / 2 > 0 ? boxCount() / 2 : 1; }
    int columnsPerPage() const { return columnsPerSpread / 2; }
};

// The text box holding a global column.
struct ColumnBox {
    int index = -1;       // into MapGeometry::text; -1 when there are no boxes
    int firstColumn = 0;  // global column of the box's first (rightmost) column
    int number = 0;       // box number counted from 1 over the document
};

ColumnBox FindColumnBox(const MapGeometry& geometry, int column);

}  // namespace Yomibon
