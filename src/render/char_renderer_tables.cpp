#include "render/char_renderer_tables.h"

#include <algorithm>
#include <cmath>

namespace Yomibon {
namespace {

constexpr uint8_t kWindowMasks[kBitWindowCount] = {0xFF, 0xF0, 0x0F, 0x78, 0x3C,
                                                   0x07, 0x80, 0x03, 0xC0};

std::array<std::array<uint8_t, 256>, kBitWindowCount> MakeTables() {
    std::array<std::array<uint8_t, 256>, kBitWindowCount> tables{};
    for (int w = 0; w < kBitWindowCount; ++w)
        for (int b = 0; b < 256; ++b)
            tables[size_t(w)][size_t(b)] =
                uint8_t(__builtin_popcount(unsigned(b) & kWindowMasks[w]));
    return tables;
}

// Filled during static initialisation so that drawing never builds them lazily.
const auto kTables = MakeTables();

}  // namespace

const std::array<std::array<uint8_t, 256>, kBitWindowCount>& BitCountTables() {
    return kTables;
}

std::vector<uint8_t> BuildCoverageTable(int k) {
    const int n = k * k;
    std::vector<uint8_t> table(size_t(n) + 1);
    // The gamma is a single-precision 1.1, as the table has always been computed.
    const double g = double(1.1f);
    const double norm = std::pow(255.0, g) / 255.0;
    for (int i = 0; i <= n; ++i) {
        double v = std::pow(double(i) * 255.0 / n, g) / norm + 0.5;
        table[size_t(n - i)] = uint8_t(std::clamp(int(v), 0, 255));
    }
    return table;
}

}  // namespace Yomibon
