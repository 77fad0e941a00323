#include "render/emf_glyph.h"

#include <cmath>

#include "render/emf_glyph_reader.h"

namespace Yomibon {
namespace {

struct FrameMap {
    double sx, sy, dx, dy;
    InkPath::Point apply(const InkPath::Point& p) const { return {p.x * sx + dx, p.y * sy + dy}; }
};

InkPath Mapped(const InkPath& path, const FrameMap& map) {
    InkPath out;
    const auto& pts = path.points();
    size_t p = 0;
    for (InkPath::Op op : path.ops()) {
        switch (op) {
            case InkPath::Op::Move: {
                auto a = map.apply(pts[p++]);
                out.moveTo(a.x, a.y);
                break;
            }
            case InkPath::Op::Line: {
                auto a = map.apply(pts[p++]);
                out.lineTo(a.x, a.y);
                break;
            }
            case InkPath::Op::Cubic: {
                auto a = map.apply(pts[p]), b = map.apply(pts[p + 1]), c = map.apply(pts[p + 2]);
                p += 3;
                out.cubicTo(a.x, a.y, b.x, b.y, c.x, c.y);
                break;
            }
            case InkPath::Op::Close:
                out.close();
                break;
        }
    }
    return out;
}

}  // namespace

EmfStatus PlayEmfGlyph(std::string_view bytes, CYbMonoBitmap& mask, int left, int top, int right,
                       int bottom) {
    EmfPicture picture;
    EmfStatus status = ReadEmfPicture(bytes, picture);
    if (status != EmfStatus::Drawn) return status;
    double fw = picture.right - picture.left, fh = picture.bottom - picture.top;
    if (!(fw > 0) || !(fh > 0) || right <= left || bottom <= top) return EmfStatus::Malformed;
    FrameMap map{(right - left) / fw, (bottom - top) / fh, 0, 0};
    map.dx = left - picture.left * map.sx;
    map.dy = top - picture.top * map.sy;
    const double penScale = std::sqrt(std::abs(map.sx * map.sy));
    // A figure longer than the rasteriser can count would draw nothing or a sliver.
    for (const EmfFigure& f : picture.figures)
        if (f.path.longestFigure() > kMaxInkFigurePoints) return EmfStatus::Malformed;
    InkMask target = mask.inkMask();
    for (const EmfFigure& f : picture.figures) {
        InkPath path = Mapped(f.path, map);
        if (f.fill) FillInkPath(target, path, f.rule);
        if (f.stroke) {
            InkPen pen = f.pen;
            pen.width = f.cosmetic ? 1.0 : pen.width * penScale;
            StrokeInkPath(target, path, pen);
        }
    }
    return EmfStatus::Drawn;
}

}  // namespace Yomibon
