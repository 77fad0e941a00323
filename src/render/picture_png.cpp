#include "render/picture_png.h"

#include <png.h>

#include <algorithm>
#include <cstring>

#include "platform/limits.h"
#include "render/picture_refusal.h"

namespace Yomibon {

namespace {

constexpr double kScreenGamma = 2.2;
constexpr double kDefaultFileGamma = 0.45455;

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t offset;
};

void ReadMemory(png_structp png, png_bytep buffer, png_size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->offset) png_error(png, "truncated");
    std::memcpy(buffer, reader->data + reader->offset, length);
    reader->offset += length;
}

// Quiet: a bad picture is reported by the return value, not on the terminal.
void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

// Row memory that the error path must free too.
struct Rows {
    png_bytep block = nullptr;
    png_bytepp pointers = nullptr;
};

void SetTransformations(png_structp png, png_infop info) {
    png_uint_32 width, height;
    int depth, colour, interlace;
    png_get_IHDR(png, info, &width, &height, &depth, &colour, &interlace, nullptr, nullptr);
    png_set_expand(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (depth < 8) png_set_packing(png);
    double fileGamma = 0;
    if (!png_get_gAMA(png, info, &fileGamma)) fileGamma = kDefaultFileGamma;
    png_set_gamma(png, kScreenGamma, fileGamma);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

void CopyRows(png_structp png, png_infop info, const Rows& rows, CYbBitmap& out) {
    const int width = out.width();
    const bool withAlpha = png_get_channels(png, info) * png_get_bit_depth(png, info) == 32;
    for (int y = 0; y < out.height(); ++y) {
        const png_bytep src = rows.pointers[y];
        uint32_t* dst = out.row(y);
        for (int x = 0; x < width; ++x) {
            const png_bytep p = src + size_t(x) * (withAlpha ? 4 : 3);
            const uint32_t alpha = withAlpha ? p[3] : 0xFF;
            dst[x] =
                uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (alpha << 24);
        }
    }
}

// No destructors live in this frame: libpng errors longjmp back into it.
bool Decode(png_structp png, png_infop info, Rows& rows, CYbBitmap& picture) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    const auto* reader = static_cast<const MemoryReader*>(png_get_io_ptr(png));
    if (!CheckPictureSize(png_get_image_width(png, info), png_get_image_height(png, info),
                          reader->size))
        return false;
    SetTransformations(png, info);
    const int channels = png_get_channels(png, info);
    if (png_get_bit_depth(png, info) != 8 || (channels != 3 && channels != 4)) return false;
    const png_uint_32 height = png_get_image_height(png, info);
    const size_t stride = png_get_rowbytes(png, info);
    rows.block = static_cast<png_bytep>(png_malloc(png, stride * height));
    rows.pointers = static_cast<png_bytepp>(png_malloc(png, sizeof(png_bytep) * height));
    for (png_uint_32 y = 0; y < height; ++y)
        rows.pointers[y] = rows.block + stride * y;
    png_read_image(png, rows.pointers);
    png_read_end(png, nullptr);
    picture.create(int(png_get_image_width(png, info)), int(height));
    CopyRows(png, info, rows, picture);
    return true;
}

// Every chunk up to IEND lies inside the file. A length claiming gigabytes (a text chunk
// of a 200-byte file, say) would otherwise have libpng allocate and clear them first.
bool ChunksFit(const uint8_t* data, size_t size) {
    for (size_t at = 8; at + 12 <= size;) {
        const size_t length = (size_t(data[at]) << 24) | (size_t(data[at + 1]) << 16) |
                              (size_t(data[at + 2]) << 8) | size_t(data[at + 3]);
        if (length > size - at - 12) return false;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
        at += 12 + length;
    }
    return false;
}

uint32_t Big32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// The size in the header (always the first chunk) within the limits. Checked before the
// chunks are walked, so that a header claiming a huge picture is refused as such even when
// the rest of the file is cut off, and the reader is told why.
bool HeaderSizeAllowed(const uint8_t* data, size_t size) {
    if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0) return true;
    return CheckPictureSize(Big32(data + 16), Big32(data + 20), size);
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, CYbBitmap& out) {
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0 || !HeaderSizeAllowed(data, size) ||
        !ChunksFit(data, size))
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    MemoryReader reader{data, size, 0};
    png_set_read_fn(png, &reader, ReadMemory);
    png_set_chunk_malloc_max(png, size);
    Rows rows;
    CYbBitmap picture;
    const bool ok = Decode(png, info, rows, picture);
    png_free(png, rows.pointers);
    png_free(png, rows.block);
    png_destroy_read_struct(&png, &info, nullptr);
    if (ok) out = std::move(picture);
    return ok;
}

}  // namespace Yomibon
