#include "render/pdf_fonts.h"

#include <cairo-ft.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/utf16.h"

namespace Yomibon {
namespace {

// Synthesised bold widens strokes as the glyph renderers do.
constexpr double kBoldStrength = 1.0 / 28.0;
constexpr double kMaxFontSpacing = 4.0;

void SetColor(cairo_t* cr, uint32_t colorref) {
    cairo_set_source_rgb(cr, (colorref & 0xFF) / 255.0, ((colorref >> 8) & 0xFF) / 255.0,
                         ((colorref >> 16) & 0xFF) / 255.0);
}

// Glyphs of one face and one transform go to cairo together.
bool SameRun(const FontGlyph& a, const FontGlyph& b) {
    return a.face == b.face && a.xx == b.xx && a.yx == b.yx && a.xy == b.xy && a.yy == b.yy;
}

}  // namespace

CYbPdfFonts::~CYbPdfFonts() {
    for (auto& [face, cairoFace] : faces_)
        cairo_font_face_destroy(cairoFace);
}

void CYbPdfFonts::setSizes(const FontSizes& sizes) {
    for (int i = 0; i < SLOT_COUNT; ++i) {
        Slot& s = slots_[size_t(i)];
        s.setting = SlotFontFor(param_, i, sizes);
        s.size = std::abs(s.setting.logFont.lfHeight);
        double spacing =
            s.setting.vertical ? std::min(s.setting.setting.spacing, kMaxFontSpacing) : 0.0;
        LogFont lf = s.setting.logFont;
        if (spacing > 0) {
            lf.lfHeight = std::max(1, int(std::lround(s.size * spacing)));
            s.margin = s.size * (spacing - 1) / 2;
        } else {
            s.margin = 0;
        }
        s.em = std::abs(lf.lfHeight);
        s.font = CreateFont(lf);
    }
    textColor_ = param_.GetFont(u"TextFont").color;
    pending_ = Pending();
}

int CYbPdfFonts::size(int slot) const {
    return slot >= 0 && slot < SLOT_COUNT ? slots_[size_t(slot)].size : 0;
}

uint32_t CYbPdfFonts::colorOf(int slot) const {
    bool body = slot >= SLOT_TEXT && slot <= SLOT_BOLD_HALF_HORIZONTAL;
    return body ? textColor_ : slots_[size_t(slot)].setting.setting.color;
}

void CYbPdfFonts::setSource(cairo_t* cr, int slot) {
    flush(cr);
    SetColor(cr, colorOf(slot));
}

void CYbPdfFonts::flush(cairo_t* cr) {
    Pending& p = pending_;
    if (p.glyphs.empty()) return;
    SetColor(cr, p.color);
    cairo_set_font_face(cr, p.face);
    cairo_set_font_matrix(cr, &p.matrix);
    cairo_show_text_glyphs(cr, p.utf8.data(), int(p.utf8.size()), p.glyphs.data(),
                           int(p.glyphs.size()), p.clusters.data(), int(p.clusters.size()),
                           cairo_text_cluster_flags_t(0));
    if (p.boldWidth > 0) {
        cairo_glyph_path(cr, p.glyphs.data(), int(p.glyphs.size()));
        cairo_set_line_width(cr, p.boldWidth);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
    p.utf8.clear();
    p.glyphs.clear();
    p.clusters.clear();
}

cairo_font_face_t* CYbPdfFonts::cairoFace(FT_FaceRec_* face) {
    auto it = faces_.find(face);
    if (it != faces_.end()) return it->second;
    // No hinting: the outlines go into the file as they are.
    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, FT_LOAD_NO_HINTING);
    if (cairo_font_face_status(cf) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cf);
        cf = nullptr;
    }
    faces_[face] = cf;
    return cf;
}

// Centring as the glyph renderers do it: a character shorter than half the em is centred
// along the column, a narrow one across it.
void CYbPdfFonts::centre(const Slot& s, std::u16string_view text, double& x, double& y) const {
    if (!s.setting.setting.centering) return;
    TextExtent e = s.font->measure(text);
    double h = s.em, half = std::floor(h / 2);
    if (s.setting.vertical) {
        if (e.cx < half)
            y += (half - e.cx) / 2;
        else
            x += (h - e.cy) / 2;
    } else if (e.cx < half) {
        x += (half - e.cx) / 2;
    }
}

bool CYbPdfFonts::drawText(cairo_t* cr, int slot, double x, double y, std::u16string_view text,
                           bool searchable) {
    if (slot < 0 || slot >= SLOT_COUNT || text.empty()) return false;
    const Slot& s = slots_[size_t(slot)];
    if (!s.font) return false;
    x -= s.margin;
    centre(s, text, x, y);
    std::vector<FontGlyph> glyphs = s.font->glyphs(x, y, text);
    if (glyphs.empty()) return false;
    const std::string utf8 = searchable ? ToUtf8(text) : std::string();
    const uint32_t color = colorOf(slot);
    const double boldWidth = s.font->syntheticBold() ? s.em * kBoldStrength : 0.0;
    for (size_t i = 0; i < glyphs.size();) {
        size_t j = i + 1;
        while (j < glyphs.size() && SameRun(glyphs[i], glyphs[j]))
            ++j;
        const FontGlyph& g = glyphs[i];
        cairo_font_face_t* face = cairoFace(g.face);
        if (face) {
            const cairo_matrix_t m{g.xx, g.yx, g.xy, g.yy, 0, 0};
            Pending& p = pending_;
            if (p.face != face || p.color != color || p.boldWidth != boldWidth ||
                std::memcmp(&p.matrix, &m, sizeof m) != 0) {
                flush(cr);
                p.face = face;
                p.matrix = m;
                p.color = color;
                p.boldWidth = boldWidth;
            }
            for (size_t k = i; k < j; ++k)
                p.glyphs.push_back({glyphs[k].id, glyphs[k].x0, glyphs[k].y0});
            // The text goes with the first glyphs as one cluster; glyphs of a fallback
            // face carry none, so that the text is found once.
            const int bytes = i == 0 ? int(utf8.size()) : 0;
            if (bytes) p.utf8 += utf8;
            p.clusters.push_back({bytes, int(j - i)});
        }
        i = j;
    }
    return true;
}

bool CYbPdfFonts::drawScaled(cairo_t* cr, int slot, double x, double y, double scale,
                             std::u16string_view text, bool searchable) {
    if (scale == 1.0) return drawText(cr, slot, x, y, text, searchable);
    if (scale <= 0) return false;
    flush(cr);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    bool drawn = drawText(cr, slot, 0, 0, text, searchable);
    flush(cr);
    cairo_restore(cr);
    return drawn;
}

bool CYbPdfFonts::drawCondensed(cairo_t* cr, int slot, double x, double y, double scale,
                                std::u16string_view text, bool searchable) {
    if (scale >= 1.0) return drawText(cr, slot, x, y, text, searchable);
    if (scale <= 0) return false;
    flush(cr);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, 1.0);
    bool drawn = drawText(cr, slot, 0, 0, text, searchable);
    flush(cr);
    cairo_restore(cr);
    return drawn;
}

bool CYbPdfFonts::drawStretched(cairo_t* cr, int slot, double x, double y, double height,
                                std::u16string_view text) {
    if (slot < 0 || slot >= SLOT_COUNT) return false;
    const Slot& s = slots_[size_t(slot)];
    if (s.size <= 0 || height <= 0) return false;
    flush(cr);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1.0, height / s.size);
    bool drawn = drawText(cr, slot, 0, 0, text);
    flush(cr);
    cairo_restore(cr);
    return drawn;
}

}  // namespace Yomibon
