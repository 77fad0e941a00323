// The fonts of a page in vector output: one font per renderer slot, its glyphs shown by
// glyph id from our FreeType faces through cairo-ft, each carrying the Unicode text it
// sets so that a PDF viewer finds and copies it.
#pragma once

#include <cairo.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/font.h"
#include "render/txt_renderer_mgr.h"

namespace Yomibon {

class CYbPdfFonts {
  public:
    explicit CYbPdfFonts(const CYbTxtParam& param) : param_(param) {}
    ~CYbPdfFonts();
    CYbPdfFonts(const CYbPdfFonts&) = delete;
    CYbPdfFonts& operator=(const CYbPdfFonts&) = delete;

    // Makes the slots' fonts for the sizes (pixels of the page's user space).
    void setSizes(const FontSizes& sizes);
    int size(int slot) const;
    // False when the body font could not be loaded (no font installed).
    bool ready() const { return slots_[SLOT_TEXT].font != nullptr; }
    // The colour of the body slots (links switch it); the other slots keep their own.
    void setTextColor(uint32_t colorref) { textColor_ = colorref; }

    // Shows the text's glyphs with the em square of the first at (x, y), as the slot's
    // glyph renderer places them. With `searchable` the glyphs carry the text; without,
    // they carry none (ruby, marks: kept out of what is copied). False when nothing of
    // the text has a glyph.
    bool drawText(cairo_t* cr, int slot, double x, double y, std::u16string_view text,
                  bool searchable = true);
    // The text at `scale` times the slot's size (headings, larger and smaller characters),
    // its em square's corner at (x, y).
    bool drawScaled(cairo_t* cr, int slot, double x, double y, double scale,
                    std::u16string_view text, bool searchable = true);
    // The glyph drawn once, stretched downwards to `height` (a dash of any length).
    // As drawText, narrowed across the writing direction by `scale` (condensed
    // horizontal-in-vertical text).
    bool drawCondensed(cairo_t* cr, int slot, double x, double y, double scale,
                       std::u16string_view text, bool searchable);
    bool drawStretched(cairo_t* cr, int slot, double x, double y, double height,
                       std::u16string_view text);
    // Shows the gathered glyphs and makes the slot's colour the source, for paths.
    void setSource(cairo_t* cr, int slot);
    // Shows the glyphs gathered so far. Glyphs are gathered while face, transform and
    // colour stay the same and shown in one operation: drawing them one by one makes the
    // PDF surface's bookkeeping of drawn areas grow with the square of their count.
    void flush(cairo_t* cr);

  private:
    struct Pending {
        cairo_font_face_t* face = nullptr;
        cairo_matrix_t matrix{};
        uint32_t color = 0;
        double boldWidth = 0;  // the stroke that widens synthesised bold
        std::string utf8;
        std::vector<cairo_glyph_t> glyphs;
        std::vector<cairo_text_cluster_t> clusters;
    };
    struct Slot {
        std::unique_ptr<CYbFont> font;
        SlotFont setting;
        int size = 0;
        double em = 0;      // the drawn em (larger than the cell with character spacing)
        double margin = 0;  // how far it reaches left of the cell
    };
    cairo_font_face_t* cairoFace(FT_FaceRec_* face);
    uint32_t colorOf(int slot) const;
    void centre(const Slot& s, std::u16string_view text, double& x, double& y) const;

    const CYbTxtParam& param_;
    std::array<Slot, SLOT_COUNT> slots_;
    std::map<FT_FaceRec_*, cairo_font_face_t*> faces_;
    uint32_t textColor_ = 0;
    Pending pending_;
};

}  // namespace Yomibon
