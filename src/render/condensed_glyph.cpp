#include "render/condensed_glyph.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/char_type.h"
#include "platform/utf16.h"

namespace Yomibon {

namespace {

int Channel(uint32_t pixel, int k) {
    return int((pixel >> (8 * k)) & 0xFF);
}

}  // namespace

HorizontalGlyph FitHorizontal(const CYbTxtMapper& mapper, const PageMapEntry& e,
                              std::u16string_view c) {
    HorizontalGlyph g{std::u16string(c)};
    if (c.empty() || e.width <= 0) return g;
    const int32_t ts = mapper.geometry().textSize.size;
    const char32_t ch = CodePointAt(c, 0);
    g.halfWidth = IsHalfWidthClass(CharClass(ch));
    if (!g.halfWidth && e.width < ts && ch >= 0xFF01 && ch <= 0xFF5E) {
        g.text = std::u16string(1, char16_t(ch - 0xFEE0));
        g.halfWidth = true;
    }
    const int32_t own = g.halfWidth ? ts / 2 : ts;
    if (own > 0 && e.width < own) g.scale = double(e.width) / own;
    return g;
}

bool DrawCondensed(CYbCharRenderer& renderer, CYbBitmap& target, int x, int y,
                   std::u16string_view text, int natural, int width, int height) {
    if (text.empty() || natural <= 0 || width <= 0 || height <= 0) return false;
    // Room around the box for ink a glyph sets beyond it.
    const int pad = std::max(2, height / 4);
    const int w = natural + 2 * pad;
    const int h = height + 2 * pad;
    const uint32_t ink = ColorToPixel(renderer.getColor()) & 0x00FFFFFF;
    // The scratch surface contrasts with the ink, so that coverage reads back from any colour.
    const int lightness = Channel(ink, 0) + Channel(ink, 1) + Channel(ink, 2);
    const uint32_t paper = lightness > 384 ? 0 : 0x00FFFFFF;
    CYbBitmap scratch(w, h);
    scratch.fill(paper);
    if (!renderer.drawText(scratch, pad, pad, text.data(), int(text.size()))) return false;
    // The channel with the most contrast gives the coverage of each pixel.
    int best = 0, full = 0;
    for (int k = 0; k < 3; ++k) {
        const int d = std::abs(Channel(ink, k) - Channel(paper, k));
        if (d > full) full = d, best = k;
    }
    if (full == 0) return true;
    const double scale = double(width) / natural;
    const int outW = int(std::ceil(w * scale));
    const int left = x - int(std::lround(pad * scale));
    std::vector<double> row(size_t(outW), 0.0);
    for (int r = 0; r < h; ++r) {
        const int ty = y - pad + r;
        if (ty < 0 || ty >= target.height()) continue;
        std::fill(row.begin(), row.end(), 0.0);
        const uint32_t* src = scratch.row(r);
        // Each source column spreads its coverage over the output columns it falls into.
        for (int c = 0; c < w; ++c) {
            const int d = std::abs(Channel(src[c], best) - Channel(paper, best));
            if (d == 0) continue;
            const double a = std::min(1.0, double(d) / full);
            double from = c * scale;
            const double to = (c + 1) * scale;
            while (from < to - 1e-9) {
                const int j = int(from);
                const double next = std::min(to, double(j + 1));
                if (j < outW) row[size_t(j)] += a * (next - from);
                from = next;
            }
        }
        uint32_t* out = target.row(ty);
        for (int j = 0; j < outW; ++j) {
            const int tx = left + j;
            if (tx < 0 || tx >= target.width() || row[size_t(j)] <= 0) continue;
            const double a = std::min(1.0, row[size_t(j)]);
            uint32_t p = 0;
            for (int k = 0; k < 3; ++k) {
                const double v = Channel(out[tx], k) + (Channel(ink, k) - Channel(out[tx], k)) * a;
                p |= uint32_t(std::clamp(int(std::lround(v)), 0, 255)) << (8 * k);
            }
            out[tx] = (out[tx] & 0xFF000000) | p;
        }
    }
    return true;
}

}  // namespace Yomibon
