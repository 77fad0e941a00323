#include "render/char_lcd_renderer.h"

#include <algorithm>
#include <cstring>

namespace Yomibon {
namespace {

// One channel byte at transparency t.
inline uint32_t Channel(uint32_t dest, uint32_t colour, unsigned t, const uint32_t* table) {
    if (t == 0) return colour;
    if (t >= 255) return dest;
    return (dest * t + table[t]) >> 8;
}

inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

}  // namespace

void CYbCharLCDRenderer::setColor(uint32_t colorref) {
    CYbCharKNNRenderer::setColor(colorref);
    const uint32_t r = colorref & 0xFF, g = (colorref >> 8) & 0xFF, b = (colorref >> 16) & 0xFF;
    for (uint32_t n = 0; n < 256; ++n) {
        tableR_[n] = r * (256 - n);
        tableGreen_[n] = g * (256 - n);
        tableB_[n] = b * (256 - n);
    }
}

// Pixels whose three windows see no ink are skipped: eight mask bytes of the four rows
// are tested at once (the fifteen pixels they hold whole), then each pixel's own bytes.
void CYbCharLCDRenderer::countRow(const CYbMonoBitmap& mask, int g, uint8_t* counts) const {
    const auto& high = BitCounts(BitWindow::High);
    const auto& low = BitCounts(BitWindow::Low);
    const auto& mid1 = BitCounts(BitWindow::Mid1);
    const auto& mid2 = BitCounts(BitWindow::Mid2);
    const auto& low3 = BitCounts(BitWindow::Low3);
    const auto& top1 = BitCounts(BitWindow::Top1);
    const auto& low2 = BitCounts(BitWindow::Low2);
    const auto& top2 = BitCounts(BitWindow::Top2);
    const int width = boxWidth_, stride = mask.stride();
    const uint8_t* rows[4] = {mask.row(g * 4), mask.row(g * 4 + 1), mask.row(g * 4 + 2),
                              mask.row(g * 4 + 3)};
    for (int gc = 0; gc < width;) {
        int b = gc >> 1;
        if (b + 8 <= stride && (Load64(rows[0] + b) | Load64(rows[1] + b) | Load64(rows[2] + b) |
                                Load64(rows[3] + b)) == 0) {
            gc = 2 * b + 15;  // the first pixel that reads byte b + 8
            continue;
        }
        for (int chunkEnd = std::min(gc + 16, width); gc < chunkEnd; ++gc) {
            b = gc >> 1;
            unsigned nr = 0, ng = 0, nb = 0;
            if (gc & 1) {
                if (((rows[0][b] | rows[1][b] | rows[2][b] | rows[3][b]) & 0x0F) == 0 &&
                    ((rows[0][b + 1] | rows[1][b + 1] | rows[2][b + 1] | rows[3][b + 1]) & 0xC0) ==
                        0)
                    continue;
                for (const uint8_t* m : rows) {
                    nr += low[m[b]];
                    ng += low3[m[b]] + top1[m[b + 1]];
                    nb += low2[m[b]] + top2[m[b + 1]];
                }
            } else {
                if (((rows[0][b] | rows[1][b] | rows[2][b] | rows[3][b]) & 0xFC) == 0) continue;
                for (const uint8_t* m : rows) {
                    nr += high[m[b]];
                    ng += mid1[m[b]];
                    nb += mid2[m[b]];
                }
            }
            uint8_t* n = counts + 3 * gc;
            n[0] = uint8_t(nr);
            n[1] = uint8_t(ng);
            n[2] = uint8_t(nb);
        }
    }
}

void CYbCharLCDRenderer::paint(CYbBitmap& target, const Clip& clip, const GlyphCover& cover,
                               bool tiled) {
    const uint8_t* cov = coverage_.data();
    const uint32_t cr = (pixel_ >> 16) & 0xFF, cg = (pixel_ >> 8) & 0xFF, cb = pixel_ & 0xFF;
    forEachCovered(target, clip, cover, tiled, [&](uint32_t& p, uint32_t n) {
        unsigned tr = cov[n & 31], tg = cov[(n >> 5) & 31], tb = cov[(n >> 10) & 31];
        if ((tr & tg & tb) == 255) return;
        uint32_t red = Channel((p >> 16) & 0xFF, cr, tr, tableR_);
        uint32_t green = Channel((p >> 8) & 0xFF, cg, tg, tableGreen_);
        uint32_t blue = Channel(p & 0xFF, cb, tb, tableB_);
        p = (red << 16) | (green << 8) | blue;
    });
}

}  // namespace Yomibon
