// The per-angle geometry of a turning half-page, worked out once per paper width so that
// producing a frame needs integer arithmetic only.
#include <algorithm>
#include <cmath>

#include "render/page_flip.h"

namespace Yomibon {
namespace {

constexpr int kAngles[CYbPageFlip::kFrameCount] = {10, 20, 45, 70, 85, 89, 89, 85, 70, 45, 20, 10};
constexpr double kHalfDegree = 0.008726646259971648;  // radians in half a degree

double Cosine(int angle) {
    double c = std::cos(angle * kHalfDegree), s = std::sin(angle * kHalfDegree);
    return c * c - s * s;
}

// Many source columns collapsing onto one frame column are thinned out so a pixel never
// costs more than a handful of samples.
void ThinOut(int& count, int& step) {
    if (count > 64) {
        count /= 8;
        step = 8;
    } else if (count > 32) {
        count /= 4;
        step = 4;
    } else if (count > 8) {
        count /= 2;
        step = 2;
    }
}

void AddShadow(CYbPageFlip::FrameTable& table, int half, int d) {
    int n = (half - d) / 10;
    for (int i = 0; i < n; ++i) {
        int t = int(std::min(1.0, double(i) / n + 0.5) * 100);
        table.shadow[size_t(half + d + i)] = t;
        table.shadow[size_t(half - d - i)] = t;
    }
}

}  // namespace

int CYbPageFlip::FrameAngle(int frame) {
    return frame >= 0 && frame < kFrameCount ? kAngles[frame] : 0;
}

CYbPageFlip::FrameTable CYbPageFlip::BuildFrameTable(int angle, int half) {
    half = std::max(half, 0);
    FrameTable table;
    table.columns.assign(size_t(2 * half + 1), ColumnEntry{});
    table.shadow.assign(size_t(2 * half + 1), 0);
    const double c = Cosine(angle);
    double e = 0;
    int previous = -1, count = 0, step = 1;
    for (int i = 0; i < half; ++i) {
        int d = int(e);
        ++count;
        e += c;
        if (d != previous && d < half) {
            ThinOut(count, step);
            double shade = std::min(1.0, (0.8 * half + i) / half);
            int brightness = int(shade / count * 100);
            table.columns[size_t(half - d)] = {half - i, step, count, brightness};
            table.columns[size_t(half + d)] = {half + i, step, count, brightness};
            count = 0;
        }
        previous = d;
    }
    int d = std::min(int(e), half);
    table.compressed = d;
    AddShadow(table, half, d);
    return table;
}

}  // namespace Yomibon
