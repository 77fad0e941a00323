#include "render/page_flip.h"

#include <algorithm>
#include <cstring>

namespace Yomibon {
namespace {

constexpr int kLastFrame = CYbPageFlip::kFrameCount - 1;
constexpr int kTurnOver = CYbPageFlip::kFrameCount / 2;  // first frame of the arriving half

// v * percent / 100 for every channel value and per cent, looked up rather than divided.
struct PercentTable {
    uint8_t scaled[101][256];
    PercentTable() {
        for (int f = 0; f <= 100; ++f)
            for (int v = 0; v < 256; ++v)
                scaled[f][v] = uint8_t(v * f / 100);
    }
};
const PercentTable kPercent;

uint32_t Shade(uint32_t pixel, const uint8_t* scale) {
    return (pixel & 0xFF000000u) | uint32_t(scale[(pixel >> 16) & 0xFF]) << 16 |
           uint32_t(scale[(pixel >> 8) & 0xFF]) << 8 | scale[pixel & 0xFF];
}

// What one frame column does in every row.
struct PixelOp {
    enum Kind { Beneath, Shadow, Single, Samples, Copy } kind = Beneath;
    int entry = 0;
    int source = 0;  // bitmap column of the first sample
    int step = 1;
    int count = 0;
    int factor = 0;  // per cent
};

// first and last: the bitmap columns of the paper that samples may come from.
PixelOp MakeOp(const CYbPageFlip::FrameTable& table, int e, int left, int first, int last) {
    PixelOp op;
    op.entry = e;
    if (int t = table.shadow[size_t(e)]; t > 0) {
        op.kind = PixelOp::Shadow;
        op.factor = std::min(t, 100);
        return op;
    }
    const CYbPageFlip::ColumnEntry& c = table.columns[size_t(e)];
    if (c.count <= 0) return op;
    op.kind = c.count == 1 ? PixelOp::Single : PixelOp::Samples;
    op.source = std::clamp(left + c.source, first, last);
    op.step = c.step;
    op.count = c.count;
    op.factor = std::clamp(c.brightness, 0, 100);
    return op;
}

// Full-brightness single samples of neighbouring source columns side by side are one copy.
void AddOp(std::vector<PixelOp>& ops, PixelOp op) {
    bool plainCopy = op.kind == PixelOp::Single && op.factor == 100;
    if (plainCopy && !ops.empty()) {
        PixelOp& run = ops.back();
        if (run.kind == PixelOp::Copy && run.entry + run.count == op.entry &&
            run.source + run.count == op.source) {
            ++run.count;
            return;
        }
    }
    if (plainCopy) op.kind = PixelOp::Copy;
    ops.push_back(op);
}

void RunOps(const std::vector<PixelOp>& ops, uint32_t* out, const uint32_t* under,
            const uint32_t* page, int sampleMax) {
    // A collapsed run of samples may reach past the paper's edge: it repeats the last column.
    for (const PixelOp& op : ops) {
        if (op.kind == PixelOp::Shadow) {
            out[op.entry] = Shade(under[op.entry], kPercent.scaled[op.factor]);
        } else if (op.kind == PixelOp::Copy) {
            std::memcpy(out + op.entry, page + op.source, size_t(op.count) * 4);
        } else if (op.kind == PixelOp::Single) {
            out[op.entry] = Shade(page[op.source], kPercent.scaled[op.factor]);
        } else {
            uint32_t b = 0, g = 0, r = 0;
            int end = op.source + (op.count - 1) * op.step;
            if (end <= sampleMax && op.count <= 257) {
                // Red and blue summed side by side in one word: 257 samples of 255 still
                // fit in the 16 bits between them.
                uint32_t rb = 0;
                for (int x = op.source; x <= end; x += op.step) {
                    uint32_t p = page[x];
                    rb += p & 0x00FF00FFu;
                    g += p & 0x0000FF00u;
                }
                b = rb & 0xFFFF, r = rb >> 16, g >>= 8;
            } else {
                for (int j = 0, x = op.source; j < op.count; ++j, x += op.step) {
                    uint32_t p = page[std::min(x, sampleMax)];
                    b += p & 0xFF;
                    g += (p >> 8) & 0xFF;
                    r += (p >> 16) & 0xFF;
                }
            }
            uint32_t f = uint32_t(op.factor);
            out[op.entry] = (page[op.source] & 0xFF000000u) | (r * f / 100 << 16) |
                            (g * f / 100 << 8) | (b * f / 100);
        }
    }
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
    const int sampleMin = std::max(left, 0);
    const int sampleMax = std::min(left + 2 * half_, width) - 1;
    std::vector<PixelOp> ops;
    std::vector<std::pair<int, int>> plain;  // runs of columns showing the page beneath
    for (int e = lo; e < hi; ++e) {
        PixelOp op = MakeOp(table, e, left, sampleMin, sampleMax);
        if (op.kind == PixelOp::Beneath) {
            if (plain.empty() || plain.back().second != e)
                plain.emplace_back(e, e + 1);
            else
                plain.back().second = e + 1;
        } else {
            AddOp(ops, op);
        }
    }
    for (int y = y0; y < y1; ++y) {
        uint32_t* out = frameBitmap_.row(y) + left;
        const uint32_t* under = beneath.row(y) + left;
        for (auto [from, to] : plain)
            std::memcpy(out + from, under + from, size_t(to - from) * 4);
        RunOps(ops, out, under, turning.row(y), sampleMax);
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
