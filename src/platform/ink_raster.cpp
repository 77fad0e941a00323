// FreeType's outline rasteriser and stroker writing one-bit ink.
#include "platform/ink_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "platform/freetype_shared.h"

#include FT_STROKER_H

namespace Yomibon {
namespace {

// FreeType outlines index points with 16-bit numbers; longer paths go in batches.
constexpr size_t kBatchPoints = 4000;
// Coordinates beyond this many pixels are clamped; nothing there reaches a mask.
constexpr double kMaxCoordinate = 1 << 20;

struct SpanTarget {
    const InkMask* mask;
    int threshold;
};

// Sets bits x0..x1-1 of a most-significant-bit-first row: partial bytes at the ends, whole
// bytes between them.
void SetBits(uint8_t* line, int x0, int x1) {
    int first = x0 >> 3, last = (x1 - 1) >> 3;
    uint8_t head = uint8_t(0xFF >> (x0 & 7));
    uint8_t tail = uint8_t(0xFF << (7 - ((x1 - 1) & 7)));
    if (first == last) {
        line[first] |= uint8_t(head & tail);
        return;
    }
    line[first] |= head;
    std::memset(line + first + 1, 0xFF, size_t(last - first - 1));
    line[last] |= tail;
}

void InkSpans(int y, int count, const FT_Span* spans, void* user) {
    auto* target = static_cast<SpanTarget*>(user);
    const InkMask& m = *target->mask;
    int row = -y - 1;
    if (row < 0 || row >= m.height) return;
    uint8_t* line = m.bits + size_t(row) * size_t(m.stride);
    for (int i = 0; i < count; ++i) {
        if (spans[i].coverage < target->threshold) continue;
        int x0 = std::max(0, int(spans[i].x));
        int x1 = std::min(m.width, int(spans[i].x) + int(spans[i].len));
        if (x0 < x1) SetBits(line, x0, x1);
    }
}

FT_Pos ToFixed(double v) {
    v = std::clamp(v, -kMaxCoordinate, kMaxCoordinate);
    return FT_Pos(std::lround(v * 64.0));
}

// One batch of figures as a FreeType outline (y flipped to point up).
struct OutlineBuilder {
    std::vector<FT_Vector> points;
    std::vector<char> tags;
    std::vector<short> contours;

    void add(const InkPath::Point& p, char tag) {
        points.push_back({ToFixed(p.x), ToFixed(-p.y)});
        tags.push_back(tag);
    }
    void endFigure() {
        if (points.empty()) return;
        short last = short(points.size() - 1);
        if (!contours.empty() && contours.back() == last) return;
        if (contours.empty() ? last < 1 : last - contours.back() < 2) {
            // A lone point is no figure: drop it.
            size_t start = contours.empty() ? 0 : size_t(contours.back()) + 1;
            points.resize(start);
            tags.resize(start);
            return;
        }
        contours.push_back(last);
    }
    FT_Outline outline(bool evenOdd) {
        FT_Outline o{};
        o.n_points = short(points.size());
        o.n_contours = short(contours.size());
        o.points = points.data();
        o.tags = tags.data();
        o.contours = contours.data();
        o.flags = evenOdd ? FT_OUTLINE_EVEN_ODD_FILL : FT_OUTLINE_NONE;
        return o;
    }
    void clear() {
        points.clear();
        tags.clear();
        contours.clear();
    }
};

// Walks the path's figures; `wanted` selects figures by whether they are closed. False when
// a figure was too long to draw.
template <typename Flush>
bool ForEachBatch(const InkPath& path, int wantClosed, Flush flush) {
    bool whole = true;
    OutlineBuilder b;
    const auto& ops = path.ops();
    const auto& pts = path.points();
    size_t p = 0;
    size_t i = 0;
    while (i < ops.size()) {
        // One figure: a Move, then Lines/Cubics, then an optional Close.
        size_t begin = i, pBegin = p;
        size_t j = i + 1, q = p + 1;
        while (j < ops.size() && ops[j] != InkPath::Op::Move && ops[j] != InkPath::Op::Close) {
            q += ops[j] == InkPath::Op::Cubic ? 3 : 1;
            ++j;
        }
        bool closed = j < ops.size() && ops[j] == InkPath::Op::Close;
        size_t next = closed ? j + 1 : j;
        const bool fits = q - pBegin <= kMaxInkFigurePoints;
        whole &= fits;
        if (fits && (wantClosed < 0 || wantClosed == int(closed))) {
            if (b.points.size() + (q - pBegin) > kBatchPoints && !b.points.empty()) {
                flush(b);
                b.clear();
            }
            size_t pp = pBegin;
            for (size_t k = begin; k < j; ++k) {
                if (ops[k] == InkPath::Op::Cubic) {
                    b.add(pts[pp], FT_CURVE_TAG_CUBIC);
                    b.add(pts[pp + 1], FT_CURVE_TAG_CUBIC);
                    b.add(pts[pp + 2], FT_CURVE_TAG_ON);
                    pp += 3;
                } else {
                    b.add(pts[pp++], FT_CURVE_TAG_ON);
                }
            }
            b.endFigure();
        }
        i = next;
        p = q;
    }
    if (!b.contours.empty()) flush(b);
    return whole;
}

bool StrokeBatch(const InkMask& mask, OutlineBuilder& b, const InkPen& pen, bool opened) {
    FT_Stroker stroker = nullptr;
    if (FT_Stroker_New(SharedFreeType(), &stroker)) return false;
    FT_Stroker_LineCap cap = pen.cap == InkCap::Round    ? FT_STROKER_LINECAP_ROUND
                             : pen.cap == InkCap::Square ? FT_STROKER_LINECAP_SQUARE
                                                         : FT_STROKER_LINECAP_BUTT;
    FT_Stroker_LineJoin join = pen.join == InkJoin::Round   ? FT_STROKER_LINEJOIN_ROUND
                               : pen.join == InkJoin::Bevel ? FT_STROKER_LINEJOIN_BEVEL
                                                            : FT_STROKER_LINEJOIN_MITER;
    double width = std::clamp(pen.width, 1.0, kMaxCoordinate);
    FT_Stroker_Set(stroker, ToFixed(width / 2), cap, join,
                   FT_Fixed(std::clamp(pen.miterLimit, 1.0, 100.0) * 65536));
    FT_Outline source = b.outline(false);
    bool ok = false;
    if (FT_Stroker_ParseOutline(stroker, &source, opened) == 0) {
        FT_UInt nPoints = 0, nContours = 0;
        if (FT_Stroker_GetCounts(stroker, &nPoints, &nContours) == 0 && nPoints > 0 &&
            nPoints < 32000 && nContours < 32000) {
            FT_Outline stroked{};
            if (FT_Outline_New(SharedFreeType(), nPoints, nContours, &stroked) == 0) {
                stroked.n_points = 0;
                stroked.n_contours = 0;
                FT_Stroker_Export(stroker, &stroked);
                ok = RenderOutlineInk(mask, &stroked, 100);
                FT_Outline_Done(SharedFreeType(), &stroked);
            }
        }
    }
    FT_Stroker_Done(stroker);
    return ok;
}

}  // namespace

FT_Library SharedFreeType() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib)) lib = nullptr;
        return lib;
    }();
    return library;
}

bool RenderOutlineInk(const InkMask& mask, FT_Outline* outline, int threshold) {
    if (!mask.bits || mask.width <= 0 || mask.height <= 0 || !SharedFreeType()) return false;
    if (outline->n_points <= 0 || outline->n_contours <= 0) return false;
    SpanTarget target{&mask, threshold};
    FT_Raster_Params params{};
    params.source = outline;
    params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
    params.gray_spans = InkSpans;
    params.user = &target;
    params.clip_box = {0, -mask.height, mask.width, 0};
    return FT_Outline_Render(SharedFreeType(), outline, &params) == 0;
}

void InkPath::moveTo(double x, double y) {
    ops_.push_back(Op::Move);
    points_.push_back({x, y});
}

void InkPath::lineTo(double x, double y) {
    if (ops_.empty()) return moveTo(x, y);
    ops_.push_back(Op::Line);
    points_.push_back({x, y});
}

void InkPath::cubicTo(double x1, double y1, double x2, double y2, double x3, double y3) {
    if (ops_.empty()) moveTo(x1, y1);
    ops_.push_back(Op::Cubic);
    points_.push_back({x1, y1});
    points_.push_back({x2, y2});
    points_.push_back({x3, y3});
}

void InkPath::close() {
    if (!ops_.empty() && ops_.back() != Op::Close) ops_.push_back(Op::Close);
}

void InkPath::append(const InkPath& other) {
    ops_.insert(ops_.end(), other.ops_.begin(), other.ops_.end());
    points_.insert(points_.end(), other.points_.begin(), other.points_.end());
}

size_t InkPath::longestFigure() const {
    size_t longest = 0, current = 0;
    for (Op op : ops_) {
        if (op == Op::Move) current = 0;
        current += op == Op::Cubic ? 3 : op == Op::Close ? 0 : 1;
        longest = std::max(longest, current);
    }
    return longest;
}

void InkPath::clear() {
    ops_.clear();
    points_.clear();
}

bool FillInkPath(const InkMask& mask, const InkPath& path, InkFill rule) {
    if (!mask.bits || path.empty()) return false;
    bool drawn = false;
    const bool whole = ForEachBatch(path, -1, [&](OutlineBuilder& b) {
        FT_Outline o = b.outline(rule == InkFill::Alternate);
        drawn |= RenderOutlineInk(mask, &o);
    });
    return drawn && whole;
}

bool StrokeInkPath(const InkMask& mask, const InkPath& path, const InkPen& pen) {
    if (!mask.bits || path.empty() || !SharedFreeType()) return false;
    bool drawn = false;
    bool whole = ForEachBatch(
        path, 1, [&](OutlineBuilder& b) { drawn |= StrokeBatch(mask, b, pen, false); });
    whole &=
        ForEachBatch(path, 0, [&](OutlineBuilder& b) { drawn |= StrokeBatch(mask, b, pen, true); });
    return drawn && whole;
}

}  // namespace Yomibon
