// The vector page device: draws a spread of the open document from the same page map as
// the bitmap canvas, into a cairo context whose user space is the map's pixels. Only what
// lies in a horizontal band is drawn, so that a spread can be cut into its two pages.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "layout/txt_mapper.h"
#include "render/pdf_fonts.h"
#include "render/pict_renderer.h"
#include "render/run_painter.h"

namespace Yomibon {

class CYbTxtDocument;
class CYbTxtLayout;

// How many pixels of the page map one millimetre of paper takes: fine enough that the
// rounding of placements does not show in print.
constexpr int kPdfPixelsPerMm = 20;

class CYbPdfPage : private CYbRunPainter {
  public:
    CYbPdfPage(const CYbTxtParam& param, CYbTxtDocument& document, const CYbTxtLayout& layout);
    ~CYbPdfPage();
    CYbPdfPage(const CYbPdfPage&) = delete;
    CYbPdfPage& operator=(const CYbPdfPage&) = delete;

    // The paper of a spread in the map's pixels.
    const MapRect& paper() const { return mapper_.paperRect(); }
    const MapGeometry& geometry() const { return mapper_.geometry(); }
    // False when the page cannot be drawn: no paper or no body font.
    bool ready() const;
    // Builds the map of the spread holding `page`.
    void build(int page);
    // Draws the built spread's content whose cells start in [left, right).
    void draw(cairo_t* cr, int left, int right);
    // The page colour and the background picture over the band.
    void drawBackground(cairo_t* cr, int left, int right);
    // Pictures that could not be loaded and external glyphs that had no outline so far.
    int missingPictures() const { return missingPictures_; }
    int missingGlyphs() const { return missingGlyphs_; }

  private:
    bool shown(double x) const { return x >= bandLeft_ && x < bandRight_; }
    bool entryOnSpread(const TextPoint& key, PageMapEntry& entry, bool needSize) const {
        return EntryOnSpread(mapper_, key, entry, needSize);
    }
    bool text(int slot, double x, double y, std::u16string_view s, bool searchable = true);
    bool glyph(int slot, double x, double y, std::u16string_view name);
    bool glyphColumn(int slot, double x, double y, double height, std::u16string_view name);
    void boxLines(double left, double top, double width, double height, const bool sides[4]);
    void drawChars(int line, int run, const TextInfo& info, int slot, int boldSlot,
                   bool offsets) override;
    void drawExternal(int line, int run, const TextInfo& info) override;
    void drawMarks(int line, int run, const TextInfo& info) override;
    void drawSideLine(int line, int run, const TextInfo& info) override;
    void drawNote(int line, int run, const TextInfo& info) override;
    void drawBoxRun(int line, int run) override;
    void drawRangeBox(int line, int run) override;
    void drawRepeatMark(int line, int run, const TextInfo& info) override;
    void drawDash(int line, int& run) override;
    void drawLink(int line, int run, const TextInfo& info) override;
    void drawDecorations();
    void drawPictures();
    void drawPicture(const MapRect& boxes, const TextInfo& run);
    bool placePicture(std::u16string_view file, const MapRect& area);
    void drawColumnText(std::u16string_view text, const MapRect& column, int slot);

    const CYbTxtParam& param_;
    CYbTxtDocument& document_;
    const CYbTxtLayout& layout_;
    CYbTxtMapper mapper_;
    CYbPdfFonts fonts_;
    std::vector<std::unique_ptr<CYbPictRenderer>> pictures_;
    std::vector<TextInfo> decorations_;
    cairo_t* cr_ = nullptr;
    int page_ = 0;
    int firstLine_ = 0;
    int nextLine_ = 0;
    int noteCounter_ = 0;
    int bandLeft_ = 0;
    int bandRight_ = 0;
    int missingPictures_ = 0;
    int missingGlyphs_ = 0;
};

}  // namespace Yomibon
