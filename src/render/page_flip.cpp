#include "render/page_flip.h"

#include <algorithm>
#include <cstring>

namespace Yomibon {
namespace {

constexpr int kLastFrame = CYbPageFlip::kFrameCount - 1;
constexpr int kTurnOver = CYbPageFlip::kFrameCount / 2;  // first frame of the arriving half

uint32_t Shade(uint32_t pixel, int percent) {
    uint32_t b = (pixel & 0xFF) * uint32_t(percent) / 100;
    uint32_t g = ((pixel >> 8) & 0xFF) * uint32_t(percent) / 100;
    uint32_t r = ((pixel >> 16) & 0xFF) * uint32_t(percent) / 100;
    return (pixel & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

// Copies a block of rows between equally sized bitmaps.
void CopyBlock(CYbBitmap& to, const CYbBitmap& from, int x0, int x1, int y0, int y1) {
    x0 = std::max(x0, 0);
    x1 = std::min(x1, to.width());
    y0 = std::max(y0, 0);
    y1 = std::min(y1, to.height());
    if (x0 >= x1) return;
    for (int y = y0; y < y1; ++y)
        std::memcpy(to.row(y) + x0, from.row(y) + x0, size_t(x1 - x0) * 4);
}

// Everything of `from` except the given rectangle, which the frame pass overwrites anyway.
void CopyAround(CYbBitmap& to, const CYbBitmap& from, const MapRect& keep) {
    int w = to.width(), h = to.height();
    CopyBlock(to, from, 0, w, 0, keep.top);
    CopyBlock(to, from, 0, w, keep.bottom, h);
    CopyBlock(to, from, 0, keep.left, keep.top, keep.bottom);
    CopyBlock(to, from, keep.right, w, keep.top, keep.bottom);
}

}  // namespace

void CYbPageFlip::prepare(const MapRect& paper, bool forward) {
    int half = std::max(paper.width(), 0) / 2;
    if (half != half_) {
        for (int k = 0; k < kFrameCount; ++k)
            tables_[size_t(k)] = BuildFrameTable(FrameAngle(k), half);
        half_ = half;
    }
    paper_ = paper;
    forward_ = forward;
    frame_ = 0;
}

bool CYbPageFlip::step() {
    if (frame_ < 0) return false;
    if (new_.empty() || old_.width() != new_.width() || old_.height() != new_.height()) {
        frame_ = -1;  // the spreads do not match: nothing sensible to animate
        return false;
    }
    produce(frame_);
    if (frame_ >= kLastFrame) {
        frame_ = -1;
        return false;
    }
    ++frame_;
    return true;
}

void CYbPageFlip::produce(int k) {
    bool arriving = k >= kTurnOver;
    bool leftHalf = forward_ != arriving;
    int first = leftHalf ? 0 : half_, last = leftHalf ? half_ : 2 * half_;
    MapRect turned{paper_.left + first, paper_.top, paper_.left + last, paper_.bottom};
    frameBitmap_.create(new_.width(), new_.height());
    if (k == 0) CopyAround(frameBitmap_, old_, turned);
    if (k == kTurnOver) CopyAround(frameBitmap_, new_, turned);
    const FrameTable& table = tables_[size_t(arriving ? kLastFrame - k : k)];
    turnRows(table, arriving ? old_ : new_, arriving ? new_ : old_, first, last);
}

void CYbPageFlip::turnRows(const FrameTable& table, const CYbBitmap& beneath,
                           const CYbBitmap& turning, int firstEntry, int lastEntry) {
    const int width = frameBitmap_.width(), left = paper_.left;
    const int lo = std::max(firstEntry, -left), hi = std::min(lastEntry, width - left);
    const int y0 = std::max(paper_.top, 0), y1 = std::min(paper_.bottom, frameBitmap_.height());
    if (lo >= hi || y0 >= y1) return;
    // Sampling never leaves the paper, even where a collapsed run reaches past its edge.
    const int sampleMax = std::min(left + 2 * half_, width) - 1;
    std::vector<int> active;
    for (int e = lo; e < hi; ++e)
        if (table.shadow[size_t(e)] > 0 || table.columns[size_t(e)].count > 0) active.push_back(e);
    for (int y = y0; y < y1; ++y) {
        uint32_t* out = frameBitmap_.row(y) + left;
        const uint32_t* under = beneath.row(y) + left;
        const uint32_t* page = turning.row(y);
        std::memcpy(out + lo, under + lo, size_t(hi - lo) * 4);
        for (int e : active) {
            if (int t = table.shadow[size_t(e)]; t > 0) {
                out[e] = Shade(under[e], t);
                continue;
            }
            const ColumnEntry& c = table.columns[size_t(e)];
            uint32_t b = 0, g = 0, r = 0;
            for (int j = 0, x = left + c.source; j < c.count; ++j, x += c.step) {
                uint32_t p = page[std::min(x, sampleMax)];
                b += p & 0xFF;
                g += (p >> 8) & 0xFF;
                r += (p >> 16) & 0xFF;
            }
            uint32_t f = uint32_t(c.brightness);
            out[e] =
                (under[e] & 0xFF000000u) | (r * f / 100 << 16) | (g * f / 100 << 8) | (b * f / 100);
        }
    }
}

void CYbPageFlip::draw(CYbBitmap& target, const MapRect& rect, int marginX, int marginY) const {
    const CYbBitmap& f = frameBitmap_;
    int x0 = std::max({rect.left, 0, -marginX});
    int x1 = std::min({rect.right, f.width(), target.width() - marginX});
    int y0 = std::max({rect.top, 0, -marginY});
    int y1 = std::min({rect.bottom, f.height(), target.height() - marginY});
    if (x0 >= x1) return;
    for (int y = y0; y < y1; ++y)
        std::memcpy(target.row(y + marginY) + x0 + marginX, f.row(y) + x0, size_t(x1 - x0) * 4);
}

}  // namespace Yomibon
