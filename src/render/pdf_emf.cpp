#include "render/pdf_emf.h"

#include <cmath>

#include "render/emf_glyph_reader.h"

namespace Yomibon {
namespace {

void AppendPath(cairo_t* cr, const InkPath& path) {
    const auto& pts = path.points();
    size_t p = 0;
    for (InkPath::Op op : path.ops()) {
        switch (op) {
            case InkPath::Op::Move:
                cairo_move_to(cr, pts[p].x, pts[p].y);
                ++p;
                break;
            case InkPath::Op::Line:
                cairo_line_to(cr, pts[p].x, pts[p].y);
                ++p;
                break;
            case InkPath::Op::Cubic:
                cairo_curve_to(cr, pts[p].x, pts[p].y, pts[p + 1].x, pts[p + 1].y, pts[p + 2].x,
                               pts[p + 2].y);
                p += 3;
                break;
            case InkPath::Op::Close:
                cairo_close_path(cr);
                break;
        }
    }
}

void SetPen(cairo_t* cr, const InkPen& pen) {
    cairo_set_line_cap(cr, pen.cap == InkCap::Round    ? CAIRO_LINE_CAP_ROUND
                           : pen.cap == InkCap::Square ? CAIRO_LINE_CAP_SQUARE
                                                       : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, pen.join == InkJoin::Round   ? CAIRO_LINE_JOIN_ROUND
                            : pen.join == InkJoin::Bevel ? CAIRO_LINE_JOIN_BEVEL
                                                         : CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cr, pen.miterLimit);
}

}  // namespace

EmfStatus DrawEmfPaths(cairo_t* cr, std::string_view bytes, double x, double y, double width,
                       double height, double hairline) {
    EmfPicture picture;
    EmfStatus status = ReadEmfPicture(bytes, picture);
    if (status != EmfStatus::Drawn) return status;
    const double fw = picture.right - picture.left, fh = picture.bottom - picture.top;
    if (!(fw > 0) || !(fh > 0) || !(width > 0) || !(height > 0)) return EmfStatus::Malformed;
    const double sx = width / fw, sy = height / fh;
    cairo_save(cr);
    cairo_translate(cr, x - picture.left * sx, y - picture.top * sy);
    cairo_scale(cr, sx, sy);
    // Pen widths are taken in the metafile's units; a cosmetic pen stays one hairline.
    const double penScale = std::sqrt(std::abs(sx * sy));
    for (const EmfFigure& f : picture.figures) {
        cairo_new_path(cr);
        AppendPath(cr, f.path);
        if (f.fill) {
            cairo_set_fill_rule(cr, f.rule == InkFill::Winding ? CAIRO_FILL_RULE_WINDING
                                                               : CAIRO_FILL_RULE_EVEN_ODD);
            if (f.stroke)
                cairo_fill_preserve(cr);
            else
                cairo_fill(cr);
        }
        if (f.stroke) {
            SetPen(cr, f.pen);
            cairo_set_line_width(cr, f.cosmetic ? hairline / penScale : f.pen.width);
            cairo_stroke(cr);
        }
    }
    cairo_new_path(cr);
    cairo_restore(cr);
    return EmfStatus::Drawn;
}

}  // namespace Yomibon
