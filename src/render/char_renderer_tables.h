// Tables of the glyph renderers: set-bit counts of masked bytes and the gamma-shaped
// coverage table that turns a count of inked sub-pixels into a transparency.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Yomibon {

// Count of the bits of `byte` under one of the masks the reductions use.
enum class BitWindow : uint8_t {
    All,   // 0xFF
    High,  // 0xF0
    Low,   // 0x0F
    Mid1,  // 0x78
    Mid2,  // 0x3C
    Low3,  // 0x07
    Top1,  // 0x80
    Low2,  // 0x03
    Top2,  // 0xC0
};
constexpr int kBitWindowCount = 9;

// Built once, at start-up.
const std::array<std::array<uint8_t, 256>, kBitWindowCount>& BitCountTables();
inline const std::array<uint8_t, 256>& BitCounts(BitWindow window) {
    return BitCountTables()[size_t(window)];
}

// The transparency for every count n = 0..k*k of set sub-pixels in a k x k block:
// 255 for an empty block, 0 for a full one, gamma 1.1 between.
std::vector<uint8_t> BuildCoverageTable(int k);

}  // namespace Yomibon
