#include "render/char_8nn_renderer.h"

#include <algorithm>
#include <cstring>

#include "render/char_renderer_tables.h"

namespace Yomibon {
namespace {

inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

}  // namespace

// A mask byte is one pixel's row of eight sub-pixels: eight pixels of the eight rows are
// tested at once and skipped when empty.
void CYbChar8NNRenderer::reduce(CYbBitmap& target, const Clip& clip, const CYbMonoBitmap& mask,
                                bool tiled) {
    const uint8_t* all = BitCounts(BitWindow::All).data();
    const uint8_t* cov = coverage_.data();
    const int first = clip.glyphX, end = clip.glyphX + clip.columns;
    const int stride = mask.stride();
    for (int r = 0; r < clip.rows; ++r) {
        int i = clip.glyphY + r;
        int g = tiled ? tiledRow(i) : i;
        const uint8_t* rows[8];
        for (int k = 0; k < 8; ++k)
            rows[k] = mask.row(g * 8 + k);
        uint32_t* out = target.row(clip.y + r) + clip.x;
        for (int b = first; b < end;) {
            int chunkEnd = std::min(b + 8, end);
            if (b + 8 <= stride) {
                uint64_t any = 0;
                for (const uint8_t* m : rows)
                    any |= Load64(m + b);
                if (any == 0) {
                    b = chunkEnd;
                    continue;
                }
            }
            for (; b < chunkEnd; ++b) {
                unsigned n = 0;
                for (const uint8_t* m : rows)
                    n += all[m[b]];
                if (n) blend(out[b - first], cov[n]);
            }
        }
    }
}

}  // namespace Yomibon
