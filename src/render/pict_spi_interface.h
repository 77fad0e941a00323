/* The picture plug-in interface: shared objects named *.spi that read picture formats.
 * C-compatible, so that plug-ins written in C include it too.
 *
 * The host takes ownership of the two blocks GetPicture returns and releases them with the
 * plug-in's FreeHandle when it exports one, otherwise with free(). Blocks of a plug-in
 * without FreeHandle must come from the C library's malloc: the host measures them with
 * malloc_usable_size to check that they hold what the BITMAPINFO promises. A plug-in with
 * FreeHandle may use any allocator, and its BITMAPINFO is taken at its word. */
#ifndef YOMIBON_PICT_SPI_INTERFACE_H
#define YOMIBON_PICT_SPI_INTERFACE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 2)
/* The 40-byte BITMAPINFOHEADER, field for field. */
typedef struct SpiBitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight; /* positive: rows bottom-up */
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression; /* 0 = BI_RGB, 3 = BI_BITFIELDS */
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
} SpiBitmapInfoHeader;

typedef struct SpiRgbQuad {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
} SpiRgbQuad;

typedef struct SpiBitmapInfo {
    SpiBitmapInfoHeader bmiHeader;
    SpiRgbQuad bmiColors[1];
} SpiBitmapInfo;
#pragma pack(pop)

typedef void* SpiHandle;

/* Progress: nonzero asks the plug-in to stop. */
typedef int (*SpiProgressCallback)(int nNum, int nDenom, long lData);

/* Information number 0: version ("00IN"), 1: name; 2k + 2: file pattern ("*.webp"),
 * 2k + 3: its description. Returns the length written, 0 when there is no such entry. */
typedef int (*SpiGetPluginInfo)(int infono, char* buf, int buflen);
/* filename, and a pointer to the first 2 KiB of the file. Nonzero when readable. */
typedef int (*SpiIsSupported)(const char* filename, void* dw);
/* flag 0: buf is a file name and len an offset; flag 1: buf holds len bytes of the file.
 * Returns 0 on success, with the BITMAPINFO and pixel blocks in *pHBInfo and *pHBm. */
typedef int (*SpiGetPicture)(const char* buf, long len, unsigned int flag, SpiHandle* pHBInfo,
                             SpiHandle* pHBm, SpiProgressCallback lpPrgressCallback, long lData);
/* Optional: releases a block the plug-in handed out. */
typedef void (*SpiFreeHandle)(SpiHandle handle);

#define SPI_SUCCESS 0
#define SPI_NOT_IMPLEMENTED (-1)
#define SPI_ABORT 1
#define SPI_UNKNOWN_FORMAT 2
#define SPI_BROKEN_DATA 3
#define SPI_NO_MEMORY 4
#define SPI_MEMORY_ERROR 5
#define SPI_FILE_READ_ERROR 6
#define SPI_INTERNAL_ERROR 8

/* Bytes of the file the host shows IsSupported, and the size of the buffer that holds them
 * (zero-filled past the file's end). */
#define SPI_PROBE_BYTES 2000
#define SPI_PROBE_BUFFER 2048

#ifdef __cplusplus
}
#endif

#endif
