#include "render/picture_dib.h"

#include <bit>
#include <climits>

#include "platform/limits.h"
#include "render/picture_refusal.h"

namespace Yomibon {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr size_t kCoreHeaderBytes = 12;
constexpr size_t kInfoHeaderBytes = 40;

uint16_t Get16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

bool ValidBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Masks after a 40-byte header, or inside a longer (V4, V5) one.
bool ReadMasks(const uint8_t* data, size_t size, size_t headerSize, uint32_t compression,
               DibFormat& f, size_t& offset) {
    const int count = compression == kBiAlphaBitfields ? 4 : 3;
    if (headerSize == kInfoHeaderBytes) {
        if (size < offset + size_t(count) * 4) return false;
        for (int i = 0; i < count; ++i)
            f.masks[i] = Get32(data + offset + i * 4);
        offset += size_t(count) * 4;
    } else {
        if (headerSize < 52) return false;
        for (int i = 0; i < 3; ++i)
            f.masks[i] = Get32(data + kInfoHeaderBytes + i * 4);
        if (headerSize >= 56) f.masks[3] = Get32(data + 52);
    }
    f.bitfields = true;
    return true;
}

bool ReadPalette(const uint8_t* data, size_t size, int entryBytes, uint32_t used, DibFormat& f,
                 size_t& offset) {
    uint64_t entries = used;
    if (f.bitCount <= 8 && entries == 0) entries = uint64_t(1) << f.bitCount;
    if (entries > 0x10000 || size < offset + entries * uint64_t(entryBytes)) return false;
    f.paletteCount = int(entries < 256 ? entries : 256);
    for (int i = 0; i < f.paletteCount; ++i) {
        const uint8_t* e = data + offset + size_t(i) * size_t(entryBytes);
        f.palette[i] = uint32_t(e[0]) | (uint32_t(e[1]) << 8) | (uint32_t(e[2]) << 16);
    }
    offset += size_t(entries) * size_t(entryBytes);
    return true;
}

// Scales the masked field of a pixel to 0..255.
uint32_t Field(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const uint64_t maximum = uint64_t(mask) >> shift;
    return uint32_t((uint64_t((pixel & mask) >> shift) * 255 + maximum / 2) / maximum);
}

uint32_t ReadPixel(const DibFormat& f, const uint8_t* row, int x, bool keepAlpha) {
    switch (f.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = f.bitCount;
            const size_t bit = size_t(x) * size_t(bits);
            const int index = (row[bit / 8] >> (8 - bits - int(bit % 8))) & ((1 << bits) - 1);
            const uint32_t c = index < f.paletteCount ? f.palette[index] : 0;
            return c | 0xFF000000u;
        }
        case 24: {
            const uint8_t* p = row + size_t(x) * 3;
            return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | 0xFF000000u;
        }
        default: {
            const uint32_t p =
                f.bitCount == 16 ? Get16(row + size_t(x) * 2) : Get32(row + size_t(x) * 4);
            uint32_t alpha = 0xFF;
            if (keepAlpha && f.bitCount == 32) {
                if (!f.bitfields)
                    alpha = p >> 24;
                else if (f.masks[3])
                    alpha = Field(p, f.masks[3]);
            }
            if (!f.bitfields && f.bitCount == 32) return (p & 0xFFFFFF) | (alpha << 24);
            uint32_t r, g, b;
            if (f.bitfields) {
                r = Field(p, f.masks[0]), g = Field(p, f.masks[1]), b = Field(p, f.masks[2]);
            } else {  // 16-bit BI_RGB is 5-5-5
                r = Field(p, 0x7C00), g = Field(p, 0x03E0), b = Field(p, 0x001F);
            }
            return b | (g << 8) | (r << 16) | (alpha << 24);
        }
    }
}

}  // namespace

bool ParseDibHeader(const uint8_t* data, size_t size, DibFormat& f) {
    f = DibFormat();
    if (!data || size < 4) return false;
    const uint32_t headerSize = Get32(data);
    if (headerSize > size || headerSize > 4096) return false;
    int64_t width, height;
    uint32_t compression = kBiRgb, used = 0;
    int entryBytes = 4;
    if (headerSize == kCoreHeaderBytes) {
        width = Get16(data + 4);
        height = Get16(data + 6);
        f.bitCount = Get16(data + 10);
        entryBytes = 3;
    } else if (headerSize >= kInfoHeaderBytes) {
        width = int32_t(Get32(data + 4));
        height = int32_t(Get32(data + 8));
        f.bitCount = Get16(data + 14);
        compression = Get32(data + 16);
        used = Get32(data + 32);
    } else {
        return false;
    }
    if (!ValidBitCount(f.bitCount) || width <= 0 || height == 0 || height == INT_MIN) return false;
    f.topDown = height < 0;
    f.width = int(width);
    f.height = int(height < 0 ? -height : height);
    if (!CheckPictureSize(uint64_t(f.width), uint64_t(f.height), size)) return false;
    size_t offset = headerSize;
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
        if (f.bitCount != 16 && f.bitCount != 32) return false;
        if (!ReadMasks(data, size, headerSize, compression, f, offset)) return false;
    } else if (compression != kBiRgb) {
        return false;  // run-length and embedded JPEG/PNG pixels are not read
    }
    if (!ReadPalette(data, size, entryBytes, used, f, offset)) return false;
    f.headerBytes = offset;
    return true;
}

bool DibToBitmap(const DibFormat& f, const uint8_t* bits, size_t size, bool keepAlpha,
                 CYbBitmap& out) {
    if (f.width <= 0 || f.height <= 0 || !bits || size < f.imageBytes()) return false;
    out.create(f.width, f.height);
    const size_t stride = f.stride();
    for (int y = 0; y < f.height; ++y) {
        const int sourceRow = f.topDown ? y : f.height - 1 - y;
        const uint8_t* row = bits + size_t(sourceRow) * stride;
        uint32_t* target = out.row(y);
        for (int x = 0; x < f.width; ++x)
            target[x] = ReadPixel(f, row, x, keepAlpha);
    }
    return true;
}

}  // namespace Yomibon
