// The records glyph files use: header, mapping, pens and brushes, polygons, polylines
// and Beziers (32- and 16-bit), ellipses, rectangles, round rectangles and paths.
// Everything is bounds-checked; a record that does not fit makes the file malformed.
#include "render/emf_glyph_reader.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>

namespace Yomibon {
namespace {

// A glyph has a few hundred points; past these the file is no glyph.
constexpr size_t kMaxRecords = 100'000;
constexpr size_t kMaxPoints = 1'000'000;
constexpr size_t kMaxSavedStates = 64;
constexpr size_t kMaxObjects = 4096;
constexpr uint32_t kSignature = 0x464D4520;  // " EMF"

enum : uint32_t {
    EMR_HEADER = 1,
    EMR_POLYBEZIER = 2,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6,
    EMR_POLYPOLYLINE = 7,
    EMR_POLYPOLYGON = 8,
    EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11,
    EMR_SETVIEWPORTORGEX = 12,
    EMR_EOF = 14,
    EMR_SETMAPMODE = 17,
    EMR_SETPOLYFILLMODE = 19,
    EMR_MOVETOEX = 27,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_SETWORLDTRANSFORM = 35,
    EMR_MODIFYWORLDTRANSFORM = 36,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44,
    EMR_SELECTPALETTE = 48,
    EMR_CREATEPALETTE = 49,
    EMR_SETPALETTEENTRIES = 50,
    EMR_RESIZEPALETTE = 51,
    EMR_REALIZEPALETTE = 52,
    EMR_LINETO = 54,
    EMR_BEGINPATH = 59,
    EMR_ENDPATH = 60,
    EMR_CLOSEFIGURE = 61,
    EMR_FILLPATH = 62,
    EMR_STROKEANDFILLPATH = 63,
    EMR_STROKEPATH = 64,
    EMR_ABORTPATH = 68,
    EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_POLYBEZIERTO16 = 88,
    EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90,
    EMR_POLYPOLYGON16 = 91,
    EMR_EXTCREATEPEN = 95,
};
enum : uint32_t {
    MM_TEXT = 1,
    MM_LOMETRIC,
    MM_HIMETRIC,
    MM_LOENGLISH,
    MM_HIENGLISH,
    MM_TWIPS,
    MM_ISOTROPIC,
    MM_ANISOTROPIC,
};
constexpr uint32_t PS_NULL = 5, PS_STYLE_MASK = 0xF, PS_ENDCAP_MASK = 0xF00,
                   PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200, PS_JOIN_MASK = 0xF000,
                   PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000, PS_GEOMETRIC = 0x10000;
constexpr uint32_t BS_NULL = 1, STOCK_FLAG = 0x80000000u;

struct Object {
    bool isPen = false;
    bool none = false;  // null pen or null brush
    double width = 0;   // logical units; 0 = cosmetic
    bool cosmetic = true;
    InkCap cap = InkCap::Round;
    InkJoin join = InkJoin::Round;
};

struct Xform {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    Xform then(const Xform& b) const {  // this, then b
        return {m11 * b.m11 + m12 * b.m21,      m11 * b.m12 + m12 * b.m22,
                m21 * b.m11 + m22 * b.m21,      m21 * b.m12 + m22 * b.m22,
                dx * b.m11 + dy * b.m21 + b.dx, dx * b.m12 + dy * b.m22 + b.dy};
    }
};

struct DcState {
    uint32_t mapMode = MM_TEXT;
    double wox = 0, woy = 0, wex = 1, wey = 1, vox = 0, voy = 0, vex = 1, vey = 1;
    Xform world;
    InkFill rule = InkFill::Alternate;
    Object pen{true, false, 0, true};
    Object brush{false, false};
    double curX = 0, curY = 0;  // logical
};

class Reader {
  public:
    Reader(std::string_view bytes, EmfPicture& out) : data_(bytes), out_(out) {}
    EmfStatus run();

  private:
    // Record access, relative to the current record.
    bool has(size_t off, size_t n) const { return off <= size_ && n <= size_ - off; }
    uint32_t u32(size_t off) const {
        uint32_t v;
        std::memcpy(&v, data_.data() + rec_ + off, 4);
        return v;
    }
    int32_t i32(size_t off) const { return int32_t(u32(off)); }
    int16_t i16(size_t off) const {
        int16_t v;
        std::memcpy(&v, data_.data() + rec_ + off, 2);
        return v;
    }
    float f32(size_t off) const {
        float v;
        std::memcpy(&v, data_.data() + rec_ + off, 4);
        return std::isfinite(v) ? v : 0.0f;
    }

    bool header();
    bool record(uint32_t type);
    bool points(size_t off, size_t count, bool small, std::vector<InkPath::Point>& pts);
    bool polyRecord(uint32_t type, bool small);
    bool polyPolyRecord(bool polygon, bool small);
    bool boxRecord(uint32_t type);
    bool createPen();
    bool createExtPen();
    bool selectObject(uint32_t ih);
    bool worldTransform(bool modify);

    InkPath::Point device(double x, double y) const;
    double penScale() const;
    void pageScale(double& sx, double& sy) const;
    void draw(InkPath path, bool fill, bool stroke);
    void addPoly(const std::vector<InkPath::Point>& pts, bool closed, bool bezier,
                 bool fromCurrent);

    std::string_view data_;
    EmfPicture& out_;
    size_t rec_ = 0, size_ = 0;
    size_t totalPoints_ = 0;
    double pxPerMmX_ = 1, pxPerMmY_ = 1;
    DcState dc_;
    std::vector<DcState> saved_;
    std::map<uint32_t, Object> objects_;
    bool inPath_ = false;
    InkPath path_;  // device pixels
    bool figureOpen_ = false;
};

InkPath::Point Reader::device(double x, double y) const {
    const Xform& w = dc_.world;
    double px = w.m11 * x + w.m21 * y + w.dx, py = w.m12 * x + w.m22 * y + w.dy;
    double sx, sy;
    pageScale(sx, sy);
    return {(px - dc_.wox) * sx + dc_.vox, (py - dc_.woy) * sy + dc_.voy};
}

void Reader::pageScale(double& sx, double& sy) const {
    auto metric = [&](double mmPerUnit) {
        sx = pxPerMmX_ * mmPerUnit;
        sy = -pxPerMmY_ * mmPerUnit;
    };
    switch (dc_.mapMode) {
        case MM_LOMETRIC:
            return metric(0.1);
        case MM_HIMETRIC:
            return metric(0.01);
        case MM_LOENGLISH:
            return metric(0.254);
        case MM_HIENGLISH:
            return metric(0.0254);
        case MM_TWIPS:
            return metric(25.4 / 1440);
        case MM_ISOTROPIC:
        case MM_ANISOTROPIC:
            sx = dc_.wex != 0 ? dc_.vex / dc_.wex : 1;
            sy = dc_.wey != 0 ? dc_.vey / dc_.wey : 1;
            if (dc_.mapMode == MM_ISOTROPIC) {
                double m = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(m, sx);
                sy = std::copysign(m, sy);
            }
            return;
        default:
            sx = sy = 1;
    }
}

double Reader::penScale() const {
    double sx, sy;
    pageScale(sx, sy);
    const Xform& w = dc_.world;
    return std::sqrt(std::abs((w.m11 * w.m22 - w.m12 * w.m21) * sx * sy));
}

void Reader::draw(InkPath path, bool fill, bool stroke) {
    EmfFigure f;
    f.fill = fill && !dc_.brush.none;
    f.rule = dc_.rule;
    f.stroke = stroke && !dc_.pen.none;
    f.cosmetic = dc_.pen.cosmetic;
    f.pen.width = dc_.pen.width * penScale();
    f.pen.cap = dc_.pen.cap;
    f.pen.join = dc_.pen.join;
    if (!f.fill && !f.stroke) return;
    f.path = std::move(path);
    out_.figures.push_back(std::move(f));
}

// Points in logical units, appended to the open path or drawn at once.
void Reader::addPoly(const std::vector<InkPath::Point>& pts, bool closed, bool bezier,
                     bool fromCurrent) {
    if (pts.empty()) return;
    InkPath local;
    InkPath& p = inPath_ ? path_ : local;
    size_t i = 0;
    if (fromCurrent) {
        if (!inPath_ || !figureOpen_) {
            auto c = device(dc_.curX, dc_.curY);
            p.moveTo(c.x, c.y);
        }
    } else {
        auto a = device(pts[0].x, pts[0].y);
        p.moveTo(a.x, a.y);
        i = 1;
    }
    if (bezier) {
        for (; i + 3 <= pts.size(); i += 3) {
            auto a = device(pts[i].x, pts[i].y), b = device(pts[i + 1].x, pts[i + 1].y),
                 c = device(pts[i + 2].x, pts[i + 2].y);
            p.cubicTo(a.x, a.y, b.x, b.y, c.x, c.y);
        }
    } else {
        for (; i < pts.size(); ++i) {
            auto a = device(pts[i].x, pts[i].y);
            p.lineTo(a.x, a.y);
        }
    }
    if (closed) p.close();
    figureOpen_ = !closed;
    dc_.curX = pts.back().x;
    dc_.curY = pts.back().y;
    if (!inPath_) draw(std::move(local), closed, true);
}

bool Reader::points(size_t off, size_t count, bool small, std::vector<InkPath::Point>& pts) {
    size_t each = small ? 4 : 8;
    if (count > kMaxPoints || !has(off, count * each)) return false;
    totalPoints_ += count;
    if (totalPoints_ > kMaxPoints) return false;
    pts.clear();
    pts.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        size_t o = off + i * each;
        if (small)
            pts.push_back({double(i16(o)), double(i16(o + 2))});
        else
            pts.push_back({double(i32(o)), double(i32(o + 4))});
    }
    return true;
}

bool Reader::polyRecord(uint32_t type, bool small) {
    if (!has(24, 4)) return false;
    std::vector<InkPath::Point> pts;
    if (!points(28, u32(24), small, pts)) return false;
    uint32_t base = small ? type - (EMR_POLYBEZIER16 - EMR_POLYBEZIER) : type;
    switch (base) {
        case EMR_POLYBEZIER:
            addPoly(pts, false, true, false);
            break;
        case EMR_POLYGON:
            addPoly(pts, true, false, false);
            break;
        case EMR_POLYLINE:
            addPoly(pts, false, false, false);
            break;
        case EMR_POLYBEZIERTO:
            addPoly(pts, false, true, true);
            break;
        case EMR_POLYLINETO:
            addPoly(pts, false, false, true);
            break;
    }
    return true;
}

bool Reader::polyPolyRecord(bool polygon, bool small) {
    if (!has(24, 8)) return false;
    uint32_t polys = u32(24), total = u32(28);
    if (polys > kMaxPoints || !has(32, size_t(polys) * 4)) return false;
    std::vector<InkPath::Point> all;
    if (!points(32 + size_t(polys) * 4, total, small, all)) return false;
    InkPath local;
    size_t at = 0;
    bool wasInPath = inPath_;
    for (uint32_t k = 0; k < polys; ++k) {
        size_t n = u32(32 + size_t(k) * 4);
        if (n > all.size() - at) return false;
        std::vector<InkPath::Point> one(all.begin() + long(at), all.begin() + long(at + n));
        at += n;
        // Gather the figures into one path so that the fill rule sees them together.
        inPath_ = true;
        std::swap(path_, local);
        bool open = figureOpen_;
        addPoly(one, polygon, false, false);
        figureOpen_ = open;
        std::swap(path_, local);
        inPath_ = wasInPath;
    }
    if (inPath_)
        path_.append(local);
    else
        draw(std::move(local), polygon, true);
    return true;
}

bool Reader::boxRecord(uint32_t type) {
    if (!has(8, 16)) return false;
    double l = i32(8), t = i32(12), r = i32(16), b = i32(20);
    InkPath shape;
    auto line = [&](double x, double y) {
        auto d = device(x, y);
        shape.lineTo(d.x, d.y);
    };
    auto curve = [&](double x1, double y1, double x2, double y2, double x3, double y3) {
        auto a = device(x1, y1), c = device(x2, y2), e = device(x3, y3);
        shape.cubicTo(a.x, a.y, c.x, c.y, e.x, e.y);
    };
    const double k = 0.5522847498307936;
    double rx = 0, ry = 0;
    if (type == EMR_ELLIPSE) {
        rx = (r - l) / 2;
        ry = (b - t) / 2;
    } else if (type == EMR_ROUNDRECT) {
        if (!has(24, 8)) return false;
        rx = std::min(std::abs(double(i32(24))) / 2, std::abs(r - l) / 2);
        ry = std::min(std::abs(double(i32(28))) / 2, std::abs(b - t) / 2);
        rx = std::copysign(rx, r - l);
        ry = std::copysign(ry, b - t);
    }
    auto start = device(l + rx, t);
    shape.moveTo(start.x, start.y);
    line(r - rx, t);
    if (rx || ry) curve(r - rx + rx * k, t, r, t + ry - ry * k, r, t + ry);
    line(r, b - ry);
    if (rx || ry) curve(r, b - ry + ry * k, r - rx + rx * k, b, r - rx, b);
    line(l + rx, b);
    if (rx || ry) curve(l + rx - rx * k, b, l, b - ry + ry * k, l, b - ry);
    line(l, t + ry);
    if (rx || ry) curve(l, t + ry - ry * k, l + rx - rx * k, t, l + rx, t);
    shape.close();
    if (inPath_)
        path_.append(shape);
    else
        draw(std::move(shape), true, true);
    return true;
}

Object PenFromStyle(uint32_t style, double width, bool extended) {
    Object pen{true, (style & PS_STYLE_MASK) == PS_NULL, width, true};
    pen.cosmetic = extended ? !(style & PS_GEOMETRIC) : width <= 1;
    uint32_t cap = style & PS_ENDCAP_MASK, join = style & PS_JOIN_MASK;
    pen.cap = cap == PS_ENDCAP_SQUARE ? InkCap::Square
              : cap == PS_ENDCAP_FLAT ? InkCap::Flat
                                      : InkCap::Round;
    pen.join = join == PS_JOIN_BEVEL   ? InkJoin::Bevel
               : join == PS_JOIN_MITER ? InkJoin::Miter
                                       : InkJoin::Round;
    return pen;
}

bool Reader::createPen() {
    if (!has(8, 20)) return false;
    if (objects_.size() >= kMaxObjects) return false;
    objects_[u32(8)] = PenFromStyle(u32(12), std::abs(double(i32(16))), false);
    return true;
}

bool Reader::createExtPen() {
    if (!has(8, 40)) return false;
    if (objects_.size() >= kMaxObjects) return false;
    uint32_t style = u32(28);
    Object pen = PenFromStyle(style, double(u32(32)), true);
    if (u32(36) == BS_NULL) pen.none = true;
    objects_[u32(8)] = pen;
    return true;
}

bool Reader::selectObject(uint32_t ih) {
    if (ih & STOCK_FLAG) {
        uint32_t stock = ih & ~STOCK_FLAG;
        if (stock <= 4 || stock == 18) dc_.brush = Object{false, false};
        if (stock == 5) dc_.brush = Object{false, true};
        if (stock == 6 || stock == 7 || stock == 19) dc_.pen = Object{true, false, 0, true};
        if (stock == 8) dc_.pen = Object{true, true, 0, true};
        return true;
    }
    auto it = objects_.find(ih);
    if (it == objects_.end()) return true;  // selecting nothing changes nothing
    (it->second.isPen ? dc_.pen : dc_.brush) = it->second;
    return true;
}

bool Reader::worldTransform(bool modify) {
    if (!has(8, modify ? 28 : 24)) return false;
    Xform x{f32(8), f32(12), f32(16), f32(20), f32(24), f32(28)};
    uint32_t mode = modify ? u32(32) : 4;
    if (mode == 1) dc_.world = Xform{};
    if (mode == 2) dc_.world = x.then(dc_.world);
    if (mode == 3) dc_.world = dc_.world.then(x);
    if (mode == 4) dc_.world = x;
    return true;
}

bool Reader::header() {
    if (!has(0, 88) || u32(0) != EMR_HEADER || u32(40) != kSignature) return false;
    int32_t devX = i32(72), devY = i32(76), mmX = i32(80), mmY = i32(84);
    if (devX > 0 && devY > 0 && mmX > 0 && mmY > 0) {
        pxPerMmX_ = double(devX) / mmX;
        pxPerMmY_ = double(devY) / mmY;
    }
    // The frame is in hundredths of a millimetre; without one the bounds serve.
    double fl = i32(24), ft = i32(28), fr = i32(32), fb = i32(36);
    if (fr > fl && fb > ft) {
        out_.left = fl * pxPerMmX_ / 100;
        out_.top = ft * pxPerMmY_ / 100;
        out_.right = fr * pxPerMmX_ / 100;
        out_.bottom = fb * pxPerMmY_ / 100;
    } else {
        out_.left = i32(8);
        out_.top = i32(12);
        out_.right = double(i32(16)) + 1;
        out_.bottom = double(i32(20)) + 1;
    }
    return true;
}

}  // namespace

namespace {

bool Reader::record(uint32_t type) {
    switch (type) {
        case EMR_POLYBEZIER:
        case EMR_POLYGON:
        case EMR_POLYLINE:
        case EMR_POLYBEZIERTO:
        case EMR_POLYLINETO:
            return polyRecord(type, false);
        case EMR_POLYBEZIER16:
        case EMR_POLYGON16:
        case EMR_POLYLINE16:
        case EMR_POLYBEZIERTO16:
        case EMR_POLYLINETO16:
            return polyRecord(type, true);
        case EMR_POLYPOLYLINE:
            return polyPolyRecord(false, false);
        case EMR_POLYPOLYGON:
            return polyPolyRecord(true, false);
        case EMR_POLYPOLYLINE16:
            return polyPolyRecord(false, true);
        case EMR_POLYPOLYGON16:
            return polyPolyRecord(true, true);
        case EMR_SETWINDOWEXTEX:
        case EMR_SETWINDOWORGEX:
        case EMR_SETVIEWPORTEXTEX:
        case EMR_SETVIEWPORTORGEX: {
            if (!has(8, 8)) return false;
            double a = i32(8), b = i32(12);
            if (type == EMR_SETWINDOWEXTEX && a != 0 && b != 0) dc_.wex = a, dc_.wey = b;
            if (type == EMR_SETWINDOWORGEX) dc_.wox = a, dc_.woy = b;
            if (type == EMR_SETVIEWPORTEXTEX && a != 0 && b != 0) dc_.vex = a, dc_.vey = b;
            if (type == EMR_SETVIEWPORTORGEX) dc_.vox = a, dc_.voy = b;
            return true;
        }
        case EMR_SETMAPMODE:
            if (!has(8, 4)) return false;
            if (u32(8) >= MM_TEXT && u32(8) <= MM_ANISOTROPIC) dc_.mapMode = u32(8);
            return true;
        case EMR_SETPOLYFILLMODE:
            if (!has(8, 4)) return false;
            dc_.rule = u32(8) == 2 ? InkFill::Winding : InkFill::Alternate;
            return true;
        case EMR_MOVETOEX:
            if (!has(8, 8)) return false;
            dc_.curX = i32(8);
            dc_.curY = i32(12);
            figureOpen_ = false;
            return true;
        case EMR_LINETO: {
            if (!has(8, 8)) return false;
            std::vector<InkPath::Point> pt{{double(i32(8)), double(i32(12))}};
            addPoly(pt, false, false, true);
            return true;
        }
        case EMR_SAVEDC:
            if (saved_.size() >= kMaxSavedStates) return false;
            saved_.push_back(dc_);
            return true;
        case EMR_RESTOREDC: {
            if (!has(8, 4)) return false;
            int32_t rel = i32(8);
            if (rel >= 0 || size_t(-int64_t(rel)) > saved_.size()) return true;
            saved_.resize(saved_.size() - size_t(-int64_t(rel)) + 1);
            dc_ = saved_.back();
            saved_.pop_back();
            return true;
        }
        case EMR_SETWORLDTRANSFORM:
            return worldTransform(false);
        case EMR_MODIFYWORLDTRANSFORM:
            return worldTransform(true);
        case EMR_SELECTOBJECT:
            return has(8, 4) && selectObject(u32(8));
        case EMR_CREATEPEN:
            return createPen();
        case EMR_EXTCREATEPEN:
            return createExtPen();
        case EMR_CREATEBRUSHINDIRECT:
            if (!has(8, 8) || objects_.size() >= kMaxObjects) return false;
            objects_[u32(8)] = Object{false, u32(12) == BS_NULL};
            return true;
        case EMR_DELETEOBJECT:
            if (!has(8, 4)) return false;
            objects_.erase(u32(8));
            return true;
        case EMR_ELLIPSE:
        case EMR_RECTANGLE:
        case EMR_ROUNDRECT:
            return boxRecord(type);
        case EMR_BEGINPATH:
            inPath_ = true;
            path_.clear();
            figureOpen_ = false;
            return true;
        case EMR_ENDPATH:
            inPath_ = false;
            return true;
        case EMR_ABORTPATH:
            inPath_ = false;
            path_.clear();
            return true;
        case EMR_CLOSEFIGURE:
            path_.close();
            figureOpen_ = false;
            return true;
        case EMR_FILLPATH:
        case EMR_STROKEANDFILLPATH:
        case EMR_STROKEPATH:
            if (inPath_) return true;  // not ended: GDI refuses it
            draw(std::move(path_), type != EMR_STROKEPATH, type != EMR_FILLPATH);
            path_.clear();
            return true;
        default:
            return true;  // text, colours, clipping and the like put no ink of their own
    }
}

EmfStatus Reader::run() {
    if (data_.size() < 88) return EmfStatus::Malformed;
    rec_ = 0;
    size_ = std::min<size_t>(data_.size(), 0xFFFFFFFFu);
    size_t first = u32(4);
    if (first < 88 || first > data_.size() || first % 4) return EmfStatus::Malformed;
    size_ = first;
    if (!header()) return EmfStatus::Malformed;
    if (u32(68) != 0) return EmfStatus::Refused;  // palette entries in the header
    size_t at = first;
    for (size_t count = 0; at + 8 <= data_.size(); ++count) {
        if (count >= kMaxRecords) return EmfStatus::Malformed;
        rec_ = at;
        size_ = 8;
        uint32_t type = u32(0), size = u32(4);
        if (size < 8 || size % 4 || size > data_.size() - at) return EmfStatus::Malformed;
        size_ = size;
        if (type >= EMR_SELECTPALETTE && type <= EMR_REALIZEPALETTE) return EmfStatus::Refused;
        if (type == EMR_EOF)
            return has(8, 4) && u32(8) != 0 ? EmfStatus::Refused : EmfStatus::Drawn;
        if (!record(type)) return EmfStatus::Malformed;
        at += size;
    }
    // A file cut short is refused, even after whole records: its picture would be a part of
    // the glyph, drawn as if it were the glyph.
    return EmfStatus::Malformed;
}

}  // namespace

EmfStatus ReadEmfPicture(std::string_view bytes, EmfPicture& picture) {
    picture = EmfPicture{};
    EmfStatus status = Reader(bytes, picture).run();
    if (status != EmfStatus::Drawn) picture.figures.clear();
    return status;
}

}  // namespace Yomibon
