#include "render/char_8nn_renderer.h"

#include "render/char_renderer_tables.h"

namespace Yomibon {

void CYbChar8NNRenderer::reduce(CYbBitmap& target, const Clip& clip, const CYbMonoBitmap& mask,
                                bool tiled) {
    const auto& all = BitCounts(BitWindow::All);
    const uint8_t* cov = coverage_.data();
    for (int r = 0; r < clip.rows; ++r) {
        int i = clip.glyphY + r;
        int g = tiled ? tiledRow(i) : i;
        const uint8_t* rows[8];
        for (int k = 0; k < 8; ++k)
            rows[k] = mask.row(g * 8 + k);
        uint32_t* out = target.row(clip.y + r) + clip.x;
        for (int c = 0; c < clip.columns; ++c) {
            int b = clip.glyphX + c;
            unsigned n = 0;
            for (int k = 0; k < 8; ++k)
                n += all[rows[k][b]];
            blend(out[c], cov[n]);
        }
    }
}

}  // namespace Yomibon
