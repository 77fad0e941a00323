#include "render/pict_test_files.h"

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <cstring>

namespace Yomibon::Test {

namespace {

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}
void FlushPng(png_structp) {}

void Put16(std::string& s, uint32_t v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

std::string BmpHeaders(int width, int height, int bits, int paletteCount, size_t imageBytes) {
    std::string s = "BM";
    const uint32_t offset = 14 + 40 + uint32_t(paletteCount) * 4;
    Put32(s, uint32_t(offset + imageBytes));
    Put32(s, 0);
    Put32(s, offset);
    Put32(s, 40);
    Put32(s, uint32_t(width));
    Put32(s, uint32_t(height));
    Put16(s, 1);
    Put16(s, uint32_t(bits));
    for (int i = 0; i < 6; ++i)
        Put32(s, i == 4 ? uint32_t(paletteCount) : 0);
    return s;
}

int AppendGif(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), size_t(length));
    return length;
}

}  // namespace

std::string MakePng(int width, int height, int colourType, int bitDepth,
                    const std::vector<uint8_t>& rows, const std::vector<Rgb>& palette,
                    const std::vector<uint8_t>& trns, bool interlaced) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return std::string();
    }
    png_set_write_fn(png, &out, AppendPng, FlushPng);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colours;
    for (const Rgb& c : palette)
        colours.push_back(png_color{c.r, c.g, c.b});
    if (!colours.empty()) png_set_PLTE(png, info, colours.data(), int(colours.size()));
    if (!trns.empty()) png_set_tRNS(png, info, trns.data(), int(trns.size()), nullptr);
    png_write_info(png, info);
    const size_t stride = rows.size() / size_t(height);
    std::vector<png_bytep> pointers;
    for (int y = 0; y < height; ++y)
        pointers.push_back(const_cast<png_bytep>(rows.data()) + stride * size_t(y));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::string MakeJpeg(int width, int height, const std::vector<uint8_t>& samples, bool grey,
                     int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = size_t(width) * (grey ? 1 : 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string out(reinterpret_cast<char*>(buffer), size);
    free(buffer);
    return out;
}

std::string MakeGif(int width, int height, const std::vector<Rgb>& palette,
                    const std::vector<uint8_t>& indices, int transparentIndex, bool interlaced) {
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendGif, &error);
    std::vector<GifColorType> colours;
    for (const Rgb& c : palette)
        colours.push_back(GifColorType{c.r, c.g, c.b});
    int count = 2;
    while (count < int(colours.size()))
        count *= 2;
    colours.resize(size_t(count), GifColorType{0, 0, 0});
    ColorMapObject* map = GifMakeMapObject(count, colours.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    if (transparentIndex >= 0) {
        GraphicsControlBlock control{0, false, 0, transparentIndex};
        GifByteType block[4];
        EGifGCBToExtension(&control, block);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block);
    }
    EGifPutImageDesc(gif, 0, 0, width, height, interlaced, nullptr);
    std::vector<int> order;
    if (interlaced) {
        const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < height; y += step[pass])
                order.push_back(y);
    } else {
        for (int y = 0; y < height; ++y)
            order.push_back(y);
    }
    for (int y : order)
        EGifPutLine(gif, const_cast<GifPixelType*>(indices.data()) + size_t(y) * size_t(width),
                    width);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

std::string MakeBmp24(int width, int height, const std::vector<uint8_t>& rgb, bool topDown) {
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    std::string s = BmpHeaders(width, topDown ? -height : height, 24, 0, stride * size_t(height));
    for (int i = 0; i < height; ++i) {
        const int y = topDown ? i : height - 1 - i;
        std::string row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = rgb.data() + (size_t(y) * size_t(width) + size_t(x)) * 3;
            row[size_t(x) * 3] = char(p[2]);
            row[size_t(x) * 3 + 1] = char(p[1]);
            row[size_t(x) * 3 + 2] = char(p[0]);
        }
        s += row;
    }
    return s;
}

std::string MakeBmp8(int width, int height, const std::vector<Rgb>& palette,
                     const std::vector<uint8_t>& indices) {
    const size_t stride = (size_t(width) + 3) & ~size_t(3);
    std::string s = BmpHeaders(width, height, 8, int(palette.size()), stride * size_t(height));
    for (const Rgb& c : palette) {
        s.push_back(char(c.b));
        s.push_back(char(c.g));
        s.push_back(char(c.r));
        s.push_back('\0');
    }
    for (int y = height - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < width; ++x)
            row[size_t(x)] = char(indices[size_t(y) * size_t(width) + size_t(x)]);
        s += row;
    }
    return s;
}

}  // namespace Yomibon::Test
