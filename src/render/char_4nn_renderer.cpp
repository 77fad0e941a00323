#include "render/char_4nn_renderer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "render/char_renderer_tables.h"

namespace Yomibon {
namespace {

// Set sub-pixels of the two pixels of a mask byte: the left one (high nibble) in the low
// byte, the right one in the high byte, so that four rows are counted in three additions.
// Constant-initialised: it must not wait for another file's static initialisers.
constexpr std::array<uint16_t, 256> MakePairCounts() {
    std::array<uint16_t, 256> t{};
    for (unsigned b = 0; b < 256; ++b)
        t[b] = uint16_t(unsigned(std::popcount(b >> 4)) | unsigned(std::popcount(b & 15)) << 8);
    return t;
}

constexpr auto kPairCounts = MakePairCounts();

inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

}  // namespace

// Most of a glyph box is paper: eight mask bytes (sixteen pixels) of the four rows are
// tested at once and skipped when empty; inked bytes count both their pixels together.
void CYbChar4NNRenderer::countRow(const CYbMonoBitmap& mask, int g, uint8_t* counts) const {
    const uint16_t* pairs = kPairCounts.data();
    const int bytes = boxWidth_ / 2, stride = mask.stride();
    const uint8_t* m0 = mask.row(g * 4);
    const uint8_t* m1 = mask.row(g * 4 + 1);
    const uint8_t* m2 = mask.row(g * 4 + 2);
    const uint8_t* m3 = mask.row(g * 4 + 3);
    for (int b = 0; b < bytes;) {
        int chunkEnd = std::min(b + 8, bytes);
        if (b + 8 <= stride &&
            (Load64(m0 + b) | Load64(m1 + b) | Load64(m2 + b) | Load64(m3 + b)) == 0) {
            b = chunkEnd;
            continue;
        }
        for (; b < chunkEnd; ++b) {
            if ((m0[b] | m1[b] | m2[b] | m3[b]) == 0) continue;
            unsigned n = pairs[m0[b]] + pairs[m1[b]] + pairs[m2[b]] + pairs[m3[b]];
            counts[2 * b] = uint8_t(n & 0xFF);
            counts[2 * b + 1] = uint8_t(n >> 8);
        }
    }
}

}  // namespace Yomibon
