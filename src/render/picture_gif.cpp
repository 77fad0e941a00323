// GIF pictures through giflib: the first image of the file, with its transparent colour.
#include <algorithm>
#include <cstring>
#include <vector>

#include <gif_lib.h>

#include "platform/limits.h"
#include "render/picture_loader.h"
#include "render/picture_refusal.h"

namespace Yomibon {

namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t offset;
};

int ReadMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t count = std::min(size_t(std::max(length, 0)), reader->size - reader->offset);
    std::memcpy(buffer, reader->data + reader->offset, count);
    reader->offset += count;
    return int(count);
}

// Reads the extension blocks, keeping the transparent colour of a graphics control block.
bool ReadExtension(GifFileType* gif, int& transparentIndex) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block) {
        GraphicsControlBlock control;
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
            transparentIndex = control.TransparentColor;
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    }
    return true;
}

// The rows of the frame in the order they are stored (four passes when interlaced).
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            order.push_back(y);
        return order;
    }
    const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass])
            order.push_back(y);
    return order;
}

bool ReadFrame(GifFileType* gif, int transparentIndex, SystemPicture& out) {
    const size_t fileBytes = static_cast<const MemoryReader*>(gif->UserData)->size;
    if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
    const GifImageDesc& frame = gif->Image;
    if (frame.Width <= 0 || frame.Height <= 0 ||
        !CheckPictureSize(uint64_t(frame.Width), uint64_t(frame.Height), fileBytes))
        return false;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!map) return false;
    int width = gif->SWidth, height = gif->SHeight;
    if (width <= 0 || height <= 0)
        width = frame.Left + frame.Width, height = frame.Top + frame.Height;
    if (!CheckPictureSize(uint64_t(width), uint64_t(height), fileBytes)) return false;
    out.width = width;
    out.height = height;
    out.bitsPerPixel = 8;
    out.pixels.assign(size_t(width) * size_t(height), 0);
    out.drawn.assign(out.pixels.size(), 0);
    std::vector<GifPixelType> line(size_t(frame.Width));
    for (int y : RowOrder(frame.Height, frame.Interlace)) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return false;
        const int row = frame.Top + y;
        if (row >= height) continue;
        for (int x = 0; x < frame.Width && frame.Left + x < width; ++x) {
            const int index = line[size_t(x)];
            if (index == transparentIndex) continue;
            const size_t at = size_t(row) * size_t(width) + size_t(frame.Left + x);
            if (index < map->ColorCount) {
                const GifColorType& c = map->Colors[index];
                out.pixels[at] =
                    uint32_t(c.Blue) | (uint32_t(c.Green) << 8) | (uint32_t(c.Red) << 16);
            }
            out.drawn[at] = 1;
        }
    }
    // Pixels the frame leaves uncovered, and the transparent colour, are not drawn.
    out.transparent = std::find(out.drawn.begin(), out.drawn.end(), 0) != out.drawn.end();
    if (!out.transparent) out.drawn.clear();
    return true;
}

bool ReadFirstFrame(GifFileType* gif, SystemPicture& out) {
    int transparentIndex = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
        switch (type) {
            case IMAGE_DESC_RECORD_TYPE:
                return ReadFrame(gif, transparentIndex, out);
            case EXTENSION_RECORD_TYPE:
                if (!ReadExtension(gif, transparentIndex)) return false;
                break;
            case TERMINATE_RECORD_TYPE:
                return false;  // no picture at all
            default:
                break;
        }
    }
}

}  // namespace

bool LoadGifPicture(const uint8_t* data, size_t size, SystemPicture& out) {
    if (!data || size == 0) return false;
    MemoryReader reader{data, size, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadMemory, &error);
    if (!gif) return false;
    SystemPicture picture;
    const bool ok = ReadFirstFrame(gif, picture);
    DGifCloseFile(gif, &error);
    if (ok) out = std::move(picture);
    return ok;
}

}  // namespace Yomibon
