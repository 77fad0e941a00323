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
void CYbChar8NNRenderer::countRow(const CYbMonoBitmap& mask, int g, uint8_t* counts) const {
    const uint8_t* all = BitCounts(BitWindow::All).data();
    const int width = boxWidth_, stride = mask.stride();
    const uint8_t* rows[8];
    for (int k = 0; k < 8; ++k)
        rows[k] = mask.row(g * 8 + k);
    for (int b = 0; b < width;) {
        int chunkEnd = std::min(b + 8, width);
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
            counts[b] = uint8_t(n);
        }
    }
}

}  // namespace Yomibon
