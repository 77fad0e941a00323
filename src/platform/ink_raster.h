// Filling and stroking outlines as one-bit ink: the rasteriser behind font glyphs and
// metafile glyphs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Yomibon {

// A view of a one-bit top-down mask (most significant bit first, a set bit is ink).
struct InkMask {
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// An outline in mask pixels (y grows downwards), built of figures of lines and cubic curves.
class InkPath {
  public:
    struct Point {
        double x = 0;
        double y = 0;
    };
    enum class Op : uint8_t { Move, Line, Cubic, Close };

    void moveTo(double x, double y);
    void lineTo(double x, double y);
    void cubicTo(double x1, double y1, double x2, double y2, double x3, double y3);
    void close();
    void append(const InkPath& other);
    void clear();
    bool empty() const { return ops_.empty(); }
    size_t pointCount() const { return points_.size(); }
    // Points of the longest figure (from one Move to the next).
    size_t longestFigure() const;
    const std::vector<Op>& ops() const { return ops_; }
    const std::vector<Point>& points() const { return points_; }

  private:
    std::vector<Op> ops_;
    std::vector<Point> points_;  // one per Move/Line, three per Cubic, none per Close
};

enum class InkFill { Winding, Alternate };
enum class InkCap { Round, Square, Flat };
enum class InkJoin { Round, Bevel, Miter };

struct InkPen {
    double width = 1.0;  // pixels
    InkCap cap = InkCap::Round;
    InkJoin join = InkJoin::Round;
    double miterLimit = 10.0;
};

// The rasteriser counts a figure's points in 16 bits: a longer figure is not drawn, and
// makes the calls below return false.
constexpr size_t kMaxInkFigurePoints = 32'000;

// Sets every pixel whose centre lies inside the path (figures are closed for filling).
bool FillInkPath(const InkMask& mask, const InkPath& path, InkFill rule);
// Sets every pixel under the pen drawn along the path; figures without Close stay open.
bool StrokeInkPath(const InkMask& mask, const InkPath& path, const InkPen& pen);

}  // namespace Yomibon
