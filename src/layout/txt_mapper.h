// The page mapper: places every character, ruby character, mark and decoration of one
// spread, scales the placements to the pixel rectangle of the spread, and maps pixel
// points back to characters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "layout/map_geometry.h"
#include "layout/page_map_entry.h"
#include "text/text_buffer.h"

namespace Yomibon {

class CYbTxtParam;

// Settings the mapper reads besides the layout.
struct MapOptions {
    std::u16string noteFormat = u"※%d";  // the NoteFormat setting
    // The ConfListStart setting: characters that may not begin a column.
    std::u16string startList =
        u",.､｡、。，．｣」』]}):;?!ﾞﾟ･~・：；？！゛゜‐’”）〕］｝〉》】ｬｭｮゃゅょャュョっッ";

    // The ConfListSkip setting: characters dropped at a column's end.
    std::u16string skipList = u" \u3000";
    // KinsokuMode 1: columns are justified at the spaces a reader expects to stretch.
    bool strict = false;

    static MapOptions FromParam(const CYbTxtParam& param);
};

// Font sizes in pixels handed to the renderer, in the order of its setFonts.
struct MapFontSizes {
    int text = 0;
    int ruby = 0;
    int note = 0;
    int nombre = 0;
    int runningHead = 0;
};

// A text box in pixels, the area that selects into it, and its columns in the spread.
struct MapBoxRect {
    MapRect box;
    MapRect catchArea;
    int firstColumn = 0;  // spread-relative, the rightmost column
    int lastColumn = 0;   // spread-relative, the leftmost column
};

class CYbTxtMapper {
  public:
    CYbTxtMapper() = default;
    virtual ~CYbTxtMapper() = default;

    void setGeometry(const MapGeometry& geometry) { geometry_ = geometry; }
    void setLayout(const CYbTxtLayout& layout) { geometry_ = MapGeometry::FromLayout(layout); }
    const MapGeometry& geometry() const { return geometry_; }
    void setOptions(const MapOptions& options) { options_ = options; }
    const MapOptions& options() const { return options_; }

    // Builds the maps of the spread that begins at `firstColumn` and scales them to
    // `target`. Returns the paper width; below 1 nothing is built.
    int Build(const std::vector<TextInfo>& decorations, const CYbTxtBuffer& buffer, int firstColumn,
              const MapRect& target);
    // The same in layout units, unscaled.
    int Arrange(const std::vector<TextInfo>& decorations, const CYbTxtBuffer& buffer,
                int firstColumn);
    // Scales the maps built by Arrange to a pixel rectangle.
    void Scale(const MapRect& target);

    // Fits the spread into a view (its size less the margins): the paper rectangle, the
    // font sizes and the box rectangles. False, changing nothing, for an empty view or paper.
    bool FitView(int viewWidth, int viewHeight);
    const MapRect& paperRect() const { return paper_; }
    const MapFontSizes& fontSizes() const { return fonts_; }
    const std::vector<MapBoxRect>& boxRects() const { return boxRects_; }

    // The character under a pixel point, among the selectable characters of the spread.
    bool HitTest(int px, int py, TextPoint& point, PageMapEntry& entry) const;
    // The first or last character of the column nearest to a point outside every
    // character (dragging a selection): the point is clamped to the paper.
    bool NearestCharacter(int px, int py, TextPoint& point, PageMapEntry& entry) const;
    // True when the entry at `point` is a character that selection and hit testing take.
    bool isSelectable(const TextPoint& point) const;

    // A running head as it is set in the layout's head box: the title's lines without
    // repeats, ended at a word or phrase boundary with "…" when it does not fit.
    std::u16string fitRunningHead(std::u16string_view text) const;

    const PageMap& charMap() const { return chars_; }
    const PageMap& decoMap() const { return decos_; }
    int firstColumn() const { return firstColumn_; }
    int columnsPerSpread() const { return geometry_.columnsPerSpread; }
    bool inSpread(int column) const {
        return column >= firstColumn_ && column < firstColumn_ + geometry_.columnsPerSpread;
    }

    // The selection, kept here for the canvas.
    TextPoint selStart;
    TextPoint selEnd;
    bool selShown = false;

  private:
    MapGeometry geometry_;
    MapOptions options_;
    PageMap chars_;
    PageMap decos_;
    std::vector<TextPoint> selectable_;  // keys of hit-testable entries, in key order
    int firstColumn_ = 0;
    MapRect paper_;
    MapFontSizes fonts_;
    std::vector<MapBoxRect> boxRects_;
};

// Layout units to pixels for a paper `paperWidth` wide drawn `pixelWidth` pixels wide:
// floor((W + P v - 1) / W + bias); bias 0.5, or 0.9 for the reference point of a glyph
// narrower than it is high.
int32_t ScaleToPixels(int32_t v, int32_t paperWidth, int32_t pixelWidth, double bias = 0.5);

// Text types whose characters hit testing and selection take.
bool IsSelectableType(int textType);

// Box number (counted from 1 over the document) of a global column.
int ColumnToBoxNumber(const MapGeometry& geometry, int column);
// The page on which a text position lies.
int PageOfPoint(const CYbTxtBuffer& buffer, const MapGeometry& geometry, const TextPoint& point);
// The first text position shown on page `page`; false when the buffer has no such place.
bool FirstPointOfPage(const CYbTxtBuffer& buffer, const MapGeometry& geometry, int page,
                      TextPoint& point);
// The last page number (always a left page); 1 for an empty document.
int LastPageNumber(const CYbTxtBuffer& buffer, const MapGeometry& geometry);

}  // namespace Yomibon
