// A small reader for Windows bitmap files: uncompressed pixels of 1 to 32 bits, bit fields.
#include <cstring>

#include "render/picture_dib.h"
#include "render/picture_loader.h"

namespace Yomibon {

namespace {

constexpr size_t kFileHeaderBytes = 14;

uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

bool LoadBmpPicture(const uint8_t* data, size_t size, SystemPicture& out) {
    if (!data || size < kFileHeaderBytes + 4 || std::memcmp(data, "BM", 2) != 0) return false;
    DibFormat format;
    const uint8_t* info = data + kFileHeaderBytes;
    if (!ParseDibHeader(info, size - kFileHeaderBytes, format)) return false;
    // The pixel offset in the file header is trusted when it points past the header;
    // otherwise the pixels follow the palette.
    size_t offset = Get32(data + 10);
    if (offset < kFileHeaderBytes + format.headerBytes || offset >= size)
        offset = kFileHeaderBytes + format.headerBytes;
    if (offset > size) return false;
    CYbBitmap bitmap;
    if (!DibToBitmap(format, data + offset, size - offset, false, bitmap)) return false;
    out = SystemPicture();
    out.width = bitmap.width();
    out.height = bitmap.height();
    out.bitsPerPixel = format.bitCount;
    out.pixels.assign(bitmap.bits(), bitmap.bits() + size_t(out.width) * size_t(out.height));
    return true;
}

}  // namespace Yomibon
