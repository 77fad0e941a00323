#include "render/resampler.h"

#include <algorithm>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/limits.h"

namespace Yomibon {

namespace {

// The window is defined with this rounded constant, not with full precision; keeping it
// keeps the weights, and so the pixels, the same as every earlier rendering.
constexpr double kP = 3.14159;
constexpr double kSupport = 3.0;

// For every output index, its source indices and weights, flattened: the taps of output i
// are [first[i], first[i + 1]).
struct AxisTable {
    std::vector<int> first;
    std::vector<int> index;
    std::vector<double> weight;
};

// (int)v limited to [0, limit]; also safe for values far outside int.
int TruncClamp(double v, int limit) {
    if (!(v > 0)) return 0;
    if (v >= limit) return limit;
    return int(v);
}

AxisTable BuildAxis(int outSize, int inSize, double scale) {
    AxisTable t;
    t.first.reserve(size_t(outSize) + 1);
    t.first.push_back(0);
    for (int i = 0; i < outSize; ++i) {
        int from, to;
        double centre;
        if (scale >= 1) {
            // Enlarging: the window spans 3 source pixels either side of the centre.
            centre = (i + 0.5) / scale;
            from = TruncClamp(centre - kSupport, inSize);
            to = TruncClamp(centre + kSupport, inSize);
        } else {
            // Reducing: the window is stretched over 3 target pixels' worth of source.
            centre = i + 0.5;
            from = TruncClamp((centre - kSupport) / scale, inSize);
            to = TruncClamp((centre + kSupport) / scale, inSize);
        }
        for (int j = from; j < to; ++j) {
            double distance =
                scale >= 1 ? std::fabs(j + 0.5 - centre) : std::fabs(scale * (j + 0.5) - centre);
            t.index.push_back(j);
            t.weight.push_back(Detail::LanczosWeight(distance, kSupport));
        }
        t.first.push_back(int(t.index.size()));
    }
    return t;
}

// Channels are truncated, but the weighted mean of a constant comes out a hair below it
// (255 as 254.99999999999997) often enough that plain truncation would darken every
// picture, even an unscaled one, and make opaque pixels translucent. A tolerance far below
// one step absorbs the rounding error and nothing else.
constexpr double kRoundingTolerance = 1e-6;

uint32_t Channel(double value, int shift) {
    value += kRoundingTolerance;
    if (value < 1) return 0;
    if (value > 255) return uint32_t(255) << shift;
    return uint32_t(int(value)) << shift;
}

struct Job {
    const CYbBitmap& source;
    CYbBitmap& target;
    const AxisTable& columns;
    const AxisTable& rows;
};

// The filter is separable: each source row is first filtered along x (unnormalised sums of
// the four channels per target column), then target rows are weighted sums of those. The
// filtered rows live in a ring as long as a target row's window, which slides down the
// source; weights are the same as a window over both axes at once, at a few taps per
// source pixel instead of some thirty-six.
struct RowRing {
    int capacity = 0;
    int next = 0;              // the next source row to filter
    std::vector<double> sums;  // capacity rows of target-width x 4 channels

    double* slot(int sourceRow, int width) {
        return sums.data() + size_t(sourceRow % capacity) * size_t(width) * 4;
    }
};

void FilterRow(const Job& job, int sourceRow, double* out) {
    const uint32_t* src = job.source.row(sourceRow);
    for (int x = 0; x < job.target.width(); ++x, out += 4) {
        double b = 0, g = 0, r = 0, a = 0;
        for (int cx = job.columns.first[x]; cx < job.columns.first[x + 1]; ++cx) {
            const double w = job.columns.weight[cx];
            const uint32_t p = src[job.columns.index[cx]];
            b += w * double(p & 0xFF);
            g += w * double((p >> 8) & 0xFF);
            r += w * double((p >> 16) & 0xFF);
            a += w * double(p >> 24);
        }
        out[0] = b, out[1] = g, out[2] = r, out[3] = a;
    }
}

int WidestWindow(const AxisTable& t) {
    int widest = 1;
    for (size_t i = 0; i + 1 < t.first.size(); ++i)
        widest = std::max(widest, t.first[i + 1] - t.first[i]);
    return widest;
}

void ComputeRows(const Job& job, int fromRow, int toRow) {
    const int width = job.target.width();
    std::vector<double> columnSums(size_t(width), 0.0);
    for (int x = 0; x < width; ++x)
        for (int cx = job.columns.first[x]; cx < job.columns.first[x + 1]; ++cx)
            columnSums[size_t(x)] += job.columns.weight[cx];
    RowRing ring;
    ring.capacity = WidestWindow(job.rows);
    ring.sums.resize(size_t(ring.capacity) * size_t(width) * 4);
    std::vector<double> acc(size_t(width) * 4);
    for (int y = fromRow; y < toRow; ++y) {
        const int first = job.rows.first[y], last = job.rows.first[y + 1];
        if (first == last) {
            std::fill_n(job.target.row(y), width, 0u);
            continue;
        }
        ring.next = std::max(ring.next, job.rows.index[first]);
        for (; ring.next <= job.rows.index[last - 1]; ++ring.next)
            FilterRow(job, ring.next, ring.slot(ring.next, width));
        std::fill(acc.begin(), acc.end(), 0.0);
        double rowSum = 0;
        for (int ry = first; ry < last; ++ry) {
            const double wy = job.rows.weight[ry];
            const double* h = ring.slot(job.rows.index[ry], width);
            for (size_t k = 0; k < acc.size(); ++k)
                acc[k] += wy * h[k];
            rowSum += wy;
        }
        uint32_t* out = job.target.row(y);
        for (int x = 0; x < width; ++x) {
            const double sum = rowSum * columnSums[size_t(x)];
            const double* c = &acc[size_t(x) * 4];
            out[x] = sum == 0 ? 0
                              : Channel(c[0] / sum, 0) | Channel(c[1] / sum, 8) |
                                    Channel(c[2] / sum, 16) | Channel(c[3] / sum, 24);
        }
    }
}

// Rows 0 .. height / 2 - 1 go to the first worker, the rest to the second; the halves are
// disjoint, so the workers share only what they read.
void RunHalves(const Job& job, int threads) {
    const int height = job.target.height();
    if (threads <= 0) {
        ComputeRows(job, 0, height);
        return;
    }
    const int half = threads >= 2 ? height / 2 : height;
    std::thread first, second;
    try {
        first = std::thread(ComputeRows, std::cref(job), 0, half);
        if (half < height) second = std::thread(ComputeRows, std::cref(job), half, height);
    } catch (const std::system_error&) {
        // No thread to be had: do what is left on this one.
        if (!first.joinable()) ComputeRows(job, 0, half);
        if (half < height && !second.joinable()) ComputeRows(job, half, height);
    }
    if (first.joinable()) first.join();
    if (second.joinable()) second.join();
}

}  // namespace

namespace Detail {

double LanczosWeight(double x, double a) {
    if (x == 0) return 1.0;
    if (std::fabs(x) > a) return 0.0;
    const double px = kP * x;
    return std::sin(px) / px * std::sin(px / a) / (px / a);
}

bool ResampleWithThreads(CYbBitmap& target, const CYbBitmap& source, double xScale, double yScale,
                         int threads) {
    target.create(0, 0);
    if (!std::isfinite(xScale) || !std::isfinite(yScale)) return false;
    const double width = std::floor(source.width() * xScale);
    const double height = std::floor(source.height() * yScale);
    if (width <= 0 || height <= 0) return true;
    if (width * height > double(Limits::kMaxPicturePixels)) return false;
    target.create(int(width), int(height));
    const AxisTable columns = BuildAxis(target.width(), source.width(), xScale);
    const AxisTable rows = BuildAxis(target.height(), source.height(), yScale);
    RunHalves(Job{source, target, columns, rows}, threads);
    return true;
}

}  // namespace Detail

bool resample(CYbBitmap& target, const CYbBitmap& source, double xScale, double yScale) {
    return Detail::ResampleWithThreads(target, source, xScale, yScale, 2);
}

}  // namespace Yomibon
