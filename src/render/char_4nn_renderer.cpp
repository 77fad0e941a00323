#include "render/char_4nn_renderer.h"

#include "render/char_renderer_tables.h"

namespace Yomibon {

void CYbChar4NNRenderer::reduce(CYbBitmap& target, const Clip& clip, const CYbMonoBitmap& mask,
                                bool tiled) {
    const auto& high = BitCounts(BitWindow::High);
    const auto& low = BitCounts(BitWindow::Low);
    const uint8_t* cov = coverage_.data();
    for (int r = 0; r < clip.rows; ++r) {
        int i = clip.glyphY + r;
        int g = tiled ? tiledRow(i) : i;
        const uint8_t* m0 = mask.row(g * 4);
        const uint8_t* m1 = mask.row(g * 4 + 1);
        const uint8_t* m2 = mask.row(g * 4 + 2);
        const uint8_t* m3 = mask.row(g * 4 + 3);
        uint32_t* out = target.row(clip.y + r) + clip.x;
        for (int c = 0; c < clip.columns; ++c) {
            int gc = clip.glyphX + c;
            int b = gc >> 1;
            const auto& counts = (gc & 1) ? low : high;
            unsigned n = counts[m0[b]] + counts[m1[b]] + counts[m2[b]] + counts[m3[b]];
            blend(out[c], cov[n]);
        }
    }
}

}  // namespace Yomibon
