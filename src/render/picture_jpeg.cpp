// JPEG pictures through libjpeg-turbo, decoded straight to B, G, R, X rows.
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
// after jpeglib.h, which it relies on
#include <jerror.h>

#include "platform/limits.h"
#include "render/picture_loader.h"
#include "render/picture_refusal.h"

namespace Yomibon {

namespace {

// libjpeg reports errors by calling error_exit, which must not return: jump back to the
// decoder, which then fails. Warnings are kept quiet; running out of data is remembered,
// because the library pads a truncated picture with grey and calls it a success.
struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf jump;
    bool truncated;
};

void OnError(j_common_ptr info) {
    longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<ErrorManager*>(info->err)->truncated = true;
}

void OnOutput(j_common_ptr) {}

// Adobe CMYK is stored inverted; plain CMYK is not.
uint32_t CmykToPixel(const JSAMPLE* p, bool inverted) {
    int c = p[0], m = p[1], y = p[2], k = p[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    const uint32_t r = uint32_t(c * k / 255), g = uint32_t(m * k / 255), b = uint32_t(y * k / 255);
    return b | (g << 8) | (r << 16) | 0xFF000000u;
}

void ReadRows(jpeg_decompress_struct& cinfo, SystemPicture& out, std::vector<JSAMPLE>& scratch) {
    const bool cmyk = cinfo.out_color_space == JCS_CMYK;
    while (cinfo.output_scanline < cinfo.output_height) {
        uint32_t* row = out.pixels.data() + size_t(cinfo.output_scanline) * size_t(out.width);
        JSAMPROW target = cmyk ? scratch.data() : reinterpret_cast<JSAMPROW>(row);
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) break;
        if (cmyk)
            for (int x = 0; x < out.width; ++x)
                row[x] = CmykToPixel(scratch.data() + size_t(x) * 4, cinfo.saw_Adobe_marker);
    }
}

// Everything that longjmp may skip lives in the caller; this frame holds no destructors.
bool Decode(jpeg_decompress_struct& cinfo, ErrorManager& errors, const uint8_t* data, size_t size,
            SystemPicture& out, std::vector<JSAMPLE>& scratch) {
    if (setjmp(errors.jump)) return false;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
    if (!CheckPictureSize(cinfo.image_width, cinfo.image_height, size)) return false;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&cinfo);
    out.width = int(cinfo.output_width);
    out.height = int(cinfo.output_height);
    out.bitsPerPixel = 24;
    out.pixels.assign(size_t(out.width) * size_t(out.height), 0);
    if (cmyk) scratch.resize(size_t(out.width) * 4);
    ReadRows(cinfo, out, scratch);
    if (cinfo.output_scanline < cinfo.output_height || errors.truncated) return false;
    jpeg_finish_decompress(&cinfo);
    return !errors.truncated;
}

}  // namespace

bool LoadJpegPicture(const uint8_t* data, size_t size, SystemPicture& out) {
    if (!data || size == 0) return false;
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.emit_message = OnMessage;
    errors.base.output_message = OnOutput;
    errors.truncated = false;
    jpeg_create_decompress(&cinfo);
    SystemPicture picture;
    std::vector<JSAMPLE> scratch;
    const bool ok = Decode(cinfo, errors, data, size, picture, scratch);
    jpeg_destroy_decompress(&cinfo);
    if (ok) out = std::move(picture);
    return ok;
}

}  // namespace Yomibon
