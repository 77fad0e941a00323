// Small picture files written by the real encoders, for the picture tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace Yomibon::Test {

struct Rgb {
    uint8_t r, g, b;
};

// PNG of any colour type; rows are packed as PNG stores them. palette and trns are used
// when not empty.
std::string MakePng(int width, int height, int colourType, int bitDepth,
                    const std::vector<uint8_t>& rows, const std::vector<Rgb>& palette = {},
                    const std::vector<uint8_t>& trns = {}, bool interlaced = false);
// Baseline JPEG from RGB triples (or grey bytes when grey is set).
std::string MakeJpeg(int width, int height, const std::vector<uint8_t>& samples, bool grey = false,
                     int quality = 100);
// GIF of one image; transparentIndex -1 for none.
std::string MakeGif(int width, int height, const std::vector<Rgb>& palette,
                    const std::vector<uint8_t>& indices, int transparentIndex,
                    bool interlaced = false);
// Uncompressed BMP: 24-bit from RGB triples, or 8-bit with palette and indices.
std::string MakeBmp24(int width, int height, const std::vector<uint8_t>& rgb, bool topDown = false);
std::string MakeBmp8(int width, int height, const std::vector<Rgb>& palette,
                     const std::vector<uint8_t>& indices);

// Pixel value B, G, R, A as stored in a CYbBitmap.
constexpr uint32_t Pixel(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    return uint32_t(b) | (uint32_t(g) << 8) | (uint32_t(r) << 16) | (uint32_t(a) << 24);
}

}  // namespace Yomibon::Test
