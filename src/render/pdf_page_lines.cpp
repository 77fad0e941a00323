// Glyphs drawn from glyph files and the rules of a spread in vector output: marks, side
// lines, boxes, repeat marks, dashes, and links as link annotations.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/utf16.h"
#include "render/emf_glyph_store.h"
#include "render/pdf_emf.h"
#include "render/pdf_page.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

// A screen pixel's line (box rules, cosmetic pens) in print: a tenth of a millimetre.
constexpr double kHairline = kPdfPixelsPerMm * 0.1;

std::string QuotedAttribute(std::u16string_view value) {
    std::string out = "'";
    for (char c : ToUtf8(value)) {
        if (c == '\'' || c == '\\') out += '\\';
        out += c;
    }
    return out + "'";
}

bool IsAddress(std::u16string_view target) {
    return target.find(u"://") != std::u16string_view::npos || target.starts_with(u"mailto:");
}

}  // namespace

// An external glyph: its glyph file as paths over the cell, or for the repeat marks
// names without one, the font's halves (as the glyph renderers do).
bool CYbPdfPage::glyph(int slot, double x, double y, std::u16string_view name) {
    const std::string& bytes = ExternalGlyphBytes(name);
    const double size = fonts_.size(slot);
    if (!bytes.empty()) {
        if (!shown(x)) return true;
        fonts_.setSource(cr_, slot);
        return DrawEmfPaths(cr_, bytes, x, y, size, size, kHairline) == EmfStatus::Drawn;
    }
    if (name == u"／") return text(slot, x, y, u"\u3033");
    if (name == u"／″") return text(slot, x, y, u"\u3034");
    if (name == u"＼") return text(slot, x, y, u"\u3035");
    return false;
}

// A glyph file repeated down a column of `height` (side lines): each repeat overlaps the
// last by one row, as the glyph renderers tile it.
bool CYbPdfPage::glyphColumn(int slot, double x, double y, double height,
                             std::u16string_view name) {
    const std::string& bytes = ExternalGlyphBytes(name);
    const double size = fonts_.size(slot);
    if (bytes.empty() || size < 2 || height <= 0) return false;
    if (!shown(x)) return true;
    fonts_.setSource(cr_, slot);
    cairo_save(cr_);
    cairo_rectangle(cr_, x, y, size, height);
    cairo_clip(cr_);
    bool drawn = true;
    for (double top = y; top < y + height && drawn; top += size - 1)
        drawn = DrawEmfPaths(cr_, bytes, x, top, size, size, kHairline) == EmfStatus::Drawn;
    cairo_restore(cr_);
    return drawn;
}

// Rules where the bitmap canvas sets one-pixel lines: top, left, bottom, right.
void CYbPdfPage::boxLines(double left, double top, double width, double height,
                          const bool sides[4]) {
    if (width < 1 || height < 1 || !shown(left)) return;
    const double right = left + width + 1, bottom = top + height;
    fonts_.setSource(cr_, SLOT_TEXT);
    cairo_set_line_width(cr_, kHairline);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
    auto line = [&](double x0, double y0, double x1, double y1) {
        cairo_move_to(cr_, x0 + 0.5, y0 + 0.5);
        cairo_line_to(cr_, x1 + 0.5, y1 + 0.5);
    };
    if (sides[0]) line(left, top, right, top);
    if (sides[1]) line(left, top, left, bottom);
    if (sides[2]) line(left, bottom, right, bottom);
    if (sides[3]) line(right, top, right, bottom);
    cairo_stroke(cr_);
}

void CYbPdfPage::drawSideLine(int line, int run, const TextInfo& info) {
    for (const auto& seg : ColumnSegments(mapper_, line, run)) {
        int x = INT_MAX, top = seg.front().inkY, bottom = INT_MIN;
        for (const auto& e : seg) {
            x = std::min(x, e.inkX);
            bottom = std::max(bottom, e.inkY + e.advance);
        }
        if (!glyphColumn(SLOT_TEXT, x, top, bottom - top, info.str) && shown(x)) ++missingGlyphs_;
    }
}

void CYbPdfPage::drawBoxRun(int line, int run) {
    for (int k = 0;; ++k) {
        auto it = mapper_.charMap().find({line, run, k});
        if (it == mapper_.charMap().end() || it->second.advance == 0) break;
        const PageMapEntry& e = it->second;
        if (!mapper_.inSpread(e.iColumn)) {
            if (k == 0) break;
            continue;
        }
        const bool sides[4] = {true, (e.width & 2) != 0, true, (e.width & 1) != 0};
        boxLines(e.inkX, e.inkY, e.size, e.advance, sides);
    }
}

void CYbPdfPage::drawRangeBox(int line, int run) {
    auto segments = ColumnSegments(mapper_, line, run);
    for (size_t i = 0; i < segments.size(); ++i) {
        int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
        for (const auto& e : segments[i]) {
            x0 = std::min(x0, e.inkX);
            y0 = std::min(y0, e.inkY);
            x1 = std::max(x1, e.inkX + e.size);
            y1 = std::max(y1, e.inkY + e.advance);
        }
        int left = x0 - 1, top = y0 - 1;
        const bool sides[4] = {i == 0, true, i + 1 == segments.size(), true};
        boxLines(left, top, x1 - left - 1, y1 - top, sides);
    }
}

// The two-cell repeat mark: its upper and lower halves as the font's characters.
void CYbPdfPage::drawRepeatMark(int line, int run, const TextInfo& info) {
    PageMapEntry e;
    if (!entryOnSpread({line, run, 0}, e, true)) return;
    const int slot = document_.buffer().isBold({line, run, 0}) ? SLOT_BOLD : SLOT_TEXT;
    text(slot, e.inkX, e.inkY, info.textType == TT_VOICED_REPEAT_MARK ? u"／″" : u"／");
    text(slot, e.inkX, e.inkY + mapper_.fontSizes().text, u"＼");
}

// Neighbouring dashes of one column are one stroke.
void CYbPdfPage::drawDash(int line, int& run) {
    const auto& runs = document_.buffer().lines()[size_t(line)].runs;
    const TextInfo& info = runs[size_t(run)];
    PageMapEntry first, last;
    if (!DashStroke(mapper_, runs, line, run, first, last) || !shown(first.inkX)) return;
    int height = (last.inkY == first.inkY) ? first.advance : last.inkY + last.size - first.inkY;
    fonts_.drawStretched(cr_, SLOT_TEXT, first.inkX, first.inkY, height, info.str);
}

// The start of a link colours the text up to its end; the end run holds the target and
// makes the link areas, one per column.
void CYbPdfPage::drawLink(int line, int run, const TextInfo& info) {
    if (info.tpEnd.iIndex < 0) {
        fonts_.setTextColor(param_.GetPoints(u"LinkTextColor").empty()
                                ? 0xFF0000u
                                : uint32_t(param_.GetPoints(u"LinkTextColor")[0]));
        return;
    }
    fonts_.setTextColor(param_.GetFont(u"TextFont").color);
    if (!IsAddress(info.str)) return;
    const std::string uri = "uri=" + QuotedAttribute(info.str);
    for (const auto& seg : ColumnSegments(mapper_, line, run)) {
        int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
        for (const auto& e : seg) {
            left = std::min(left, e.inkX);
            top = std::min(top, e.inkY);
            right = std::max(right, e.inkX + e.size);
            bottom = std::max(bottom, e.inkY + e.advance);
        }
        if (!shown(left)) continue;
        // The link area is given in the page's own units, whatever the transformation.
        double x0 = left, y0 = top, x1 = right, y1 = bottom;
        cairo_user_to_device(cr_, &x0, &y0);
        cairo_user_to_device(cr_, &x1, &y1);
        char rect[160];
        std::snprintf(rect, sizeof rect, " rect=[%.3f %.3f %.3f %.3f]", std::min(x0, x1),
                      std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0));
        cairo_tag_begin(cr_, CAIRO_TAG_LINK, (uri + rect).c_str());
        cairo_tag_end(cr_, CAIRO_TAG_LINK);
    }
}

}  // namespace Yomibon
