#include "layout/map_geometry.h"

namespace Yomibon {

MapGeometry MapGeometry::FromLayout(const CYbTxtLayout& layout) {
    MapGeometry g;
    g.text = layout.GetBoxes(TextLayout);
    g.note = layout.GetBoxes(NoteLayout);
    g.nombre = layout.GetBoxes(NombreLayout);
    g.runningHead = layout.GetBoxes(RunningHeadsLayout);
    g.textSize = layout.GetSize(TextSize);
    g.rubySize = layout.GetSize(RubySize);
    g.noteSize = layout.GetSize(NoteSize);
    g.nombreSize = layout.GetSize(NombreSize);
    g.headSize = layout.GetSize(RunningHeadsSize);
    auto [w, h] = layout.GetPaperSize();
    g.paperWidth = w;
    g.paperHeight = h;
    g.columnsPerSpread = 0;
    for (const LayoutBox& b : g.text)
        g.columnsPerSpread += b.lines > 0 ? b.lines : 0;
    g.nombrePlacement = layout.GetNumbreFormatType();
    return g;
}

// Spread = column / columns per spread; within the spread the boxes are walked in list
// order, each holding its `lines` columns. A column past the boxes' lines (a layout whose
// counts disagree) falls into the last box rather than nowhere.
ColumnBox FindColumnBox(const MapGeometry& geometry, int column) {
    ColumnBox result;
    if (geometry.text.empty() || geometry.columnsPerSpread <= 0 || column < 0) return result;
    const int spread = column / geometry.columnsPerSpread;
    int first = spread * geometry.columnsPerSpread;
    const int count = int(geometry.text.size());
    for (int i = 0; i < count; ++i) {
        const int lines = geometry.text[i].lines > 0 ? geometry.text[i].lines : 0;
        if (column < first + lines || i == count - 1) {
            result.index = i;
            result.firstColumn = first;
            result.number = spread * count + i + 1;
            return result;
        }
        first += lines;
    }
    return result;
}

}  // namespace Yomibon
