/* A picture plug-in for WebP pictures (lossy, lossless, with or without alpha), through
 * libwebp. The picture comes back as a 32-bit bottom-up DIB whose fourth byte is alpha. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <webp/decode.h>

#include "render/pict_spi_interface.h"

#define SPI_EXPORT __attribute__((visibility("default")))

/* Pictures past this many pixels are refused rather than allocated. */
#define WEBP_SPI_MAX_PIXELS 100000000ull
#define WEBP_SPI_MAX_FILE_BYTES (512ull << 20)

static const char* const kInfo[] = {"00IN", "WebP picture plug-in (libwebp)", "*.webp",
                                    "WebP File"};

SPI_EXPORT int GetPluginInfo(int infono, char* buf, int buflen) {
    if (infono < 0 || infono >= (int)(sizeof kInfo / sizeof kInfo[0]) || !buf || buflen <= 0)
        return 0;
    size_t length = strlen(kInfo[infono]);
    if (length >= (size_t)buflen) length = (size_t)buflen - 1;
    memcpy(buf, kInfo[infono], length);
    buf[length] = '\0';
    return (int)length;
}

static int IsWebP(const uint8_t* head, size_t size) {
    return size >= 12 && memcmp(head, "RIFF", 4) == 0 && memcmp(head + 8, "WEBP", 4) == 0;
}

/* Reads the file from offset on; the caller frees *data. */
static int ReadFileFrom(const char* name, long offset, uint8_t** data, size_t* size) {
    FILE* file = fopen(name, "rb");
    if (!file) return SPI_FILE_READ_ERROR;
    int result = SPI_FILE_READ_ERROR;
    long end = -1;
    if (offset >= 0 && fseek(file, 0, SEEK_END) == 0) end = ftell(file);
    if (end >= offset && (unsigned long long)(end - offset) <= WEBP_SPI_MAX_FILE_BYTES &&
        fseek(file, offset, SEEK_SET) == 0) {
        *size = (size_t)(end - offset);
        *data = malloc(*size ? *size : 1);
        if (!*data)
            result = SPI_NO_MEMORY;
        else if (fread(*data, 1, *size, file) == *size)
            result = SPI_SUCCESS;
        else
            free(*data), *data = NULL;
    }
    fclose(file);
    return result;
}

SPI_EXPORT int IsSupported(const char* filename, void* dw) {
    /* A value below 64 KiB is a file handle in the interface's older form: read the name. */
    if ((uintptr_t)dw > 0xFFFF) return IsWebP((const uint8_t*)dw, SPI_PROBE_BYTES);
    uint8_t head[12];
    FILE* file = filename ? fopen(filename, "rb") : NULL;
    if (!file) return 0;
    size_t got = fread(head, 1, sizeof head, file);
    fclose(file);
    return IsWebP(head, got);
}

/* Turns decoded top-down B, G, R, A rows into the two blocks the host expects. */
static int MakeDib(const uint8_t* rows, int width, int height, SpiHandle* info, SpiHandle* bits) {
    const size_t stride = (size_t)width * 4;
    SpiBitmapInfoHeader* header = calloc(1, sizeof *header);
    uint8_t* pixels = malloc(stride * (size_t)height);
    if (!header || !pixels) {
        free(header);
        free(pixels);
        return SPI_NO_MEMORY;
    }
    header->biSize = sizeof *header;
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biSizeImage = (uint32_t)(stride * (size_t)height);
    for (int y = 0; y < height; ++y)
        memcpy(pixels + stride * (size_t)(height - 1 - y), rows + stride * (size_t)y, stride);
    *info = header;
    *bits = pixels;
    return SPI_SUCCESS;
}

static int Decode(const uint8_t* data, size_t size, SpiHandle* info, SpiHandle* bits,
                  SpiProgressCallback progress, long lData) {
    int width = 0, height = 0;
    if (!IsWebP(data, size) || !WebPGetInfo(data, size, &width, &height)) return SPI_UNKNOWN_FORMAT;
    if (width <= 0 || height <= 0 ||
        (unsigned long long)width * (unsigned long long)height > WEBP_SPI_MAX_PIXELS)
        return SPI_BROKEN_DATA;
    if (progress && progress(0, 1, lData)) return SPI_ABORT;
    uint8_t* rows = WebPDecodeBGRA(data, size, &width, &height);
    if (!rows) return SPI_BROKEN_DATA;
    int result = MakeDib(rows, width, height, info, bits);
    WebPFree(rows);
    if (result == SPI_SUCCESS && progress && progress(1, 1, lData)) {
        free(*info), free(*bits);
        *info = *bits = NULL;
        return SPI_ABORT;
    }
    return result;
}

SPI_EXPORT int GetPicture(const char* buf, long len, unsigned int flag, SpiHandle* pHBInfo,
                          SpiHandle* pHBm, SpiProgressCallback lpPrgressCallback, long lData) {
    if (!buf || !pHBInfo || !pHBm) return SPI_INTERNAL_ERROR;
    if ((flag & 7) == 1) {
        if (len <= 0) return SPI_BROKEN_DATA;
        return Decode((const uint8_t*)buf, (size_t)len, pHBInfo, pHBm, lpPrgressCallback, lData);
    }
    uint8_t* data = NULL;
    size_t size = 0;
    int result = ReadFileFrom(buf, len, &data, &size);
    if (result == SPI_SUCCESS) result = Decode(data, size, pHBInfo, pHBm, lpPrgressCallback, lData);
    free(data);
    return result;
}

SPI_EXPORT int GetPreview(const char* buf, long len, unsigned int flag, SpiHandle* pHBInfo,
                          SpiHandle* pHBm, SpiProgressCallback lpPrgressCallback, long lData) {
    (void)buf, (void)len, (void)flag, (void)pHBInfo, (void)pHBm, (void)lpPrgressCallback,
        (void)lData;
    return SPI_NOT_IMPLEMENTED;
}
