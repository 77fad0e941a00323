/* A picture plug-in that misbehaves on request, for the host's checks. It claims files that
 * start with "GARBAGE:" followed by the name of a fault; blocks are released through its
 * FreeHandle, which counts them. Built with GARBAGE_MALLOC_ONLY it exports no FreeHandle, so
 * that the host frees its blocks with free() and may measure them. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include "render/pict_spi_interface.h"

#define SPI_EXPORT __attribute__((visibility("default")))

#ifndef GARBAGE_MALLOC_ONLY
static int freed = 0;

SPI_EXPORT int GarbageFreedCount(void) {
    return freed;
}

/* Blocks of the plug-in's own allocator: a page of their own, right after an inaccessible
 * page, so that anything reading before the block (as malloc_usable_size does) faults. */
static void* mapped[2];

static void* MapBlock(size_t size) {
    const size_t page = (size_t)sysconf(_SC_PAGESIZE);
    uint8_t* area = mmap(NULL, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED || size > page) return NULL;
    mprotect(area, page, PROT_NONE);
    memset(area + page, 0, size);
    for (int i = 0; i < 2; ++i)
        if (!mapped[i]) {
            mapped[i] = area + page;
            break;
        }
    return area + page;
}

SPI_EXPORT void FreeHandle(SpiHandle handle) {
    ++freed;
    const size_t page = (size_t)sysconf(_SC_PAGESIZE);
    for (int i = 0; i < 2; ++i)
        if (mapped[i] == handle) {
            mapped[i] = NULL;
            munmap((uint8_t*)handle - page, 2 * page);
            return;
        }
    free(handle);
}
#endif

SPI_EXPORT int GetPluginInfo(int infono, char* buf, int buflen) {
    /* An over-long answer without a terminator: the host must bound it itself. */
    if (infono == 2) {
        memset(buf, 'x', (size_t)buflen);
        return 100000;
    }
    if (infono == 3) {
        /* "絵" in Shift_JIS */
        strcpy(buf, "\x8A\x47 file");
        return 6;
    }
    return 0;
}

SPI_EXPORT int IsSupported(const char* filename, void* dw) {
    (void)filename;
    return memcmp(dw, "GARBAGE:", 8) == 0;
}

static SpiBitmapInfoHeader* Header(int32_t width, int32_t height, uint16_t bits) {
    SpiBitmapInfoHeader* h = calloc(1, sizeof *h + 256 * 4);
    h->biSize = sizeof *h;
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = bits;
    return h;
}

SPI_EXPORT int GetPicture(const char* buf, long len, unsigned int flag, SpiHandle* pHBInfo,
                          SpiHandle* pHBm, SpiProgressCallback progress, long lData) {
    (void)len, (void)flag, (void)progress, (void)lData;
    char text[64] = {0};
    FILE* file = fopen(buf, "rb");
    if (!file) return SPI_FILE_READ_ERROR;
    size_t got = fread(text, 1, sizeof text - 1, file);
    fclose(file);
    const char* fault = got > 8 ? text + 8 : "";
    if (strncmp(fault, "fail", 4) == 0) {
        *pHBInfo = (SpiHandle)1; /* garbage the host must not touch */
        *pHBm = (SpiHandle)1;
        return SPI_BROKEN_DATA;
    }
#ifndef GARBAGE_MALLOC_ONLY
    if (strncmp(fault, "mapped", 6) == 0) {
        /* a good 2 x 1 picture of 24 bits, green and white, in the plug-in's own blocks */
        SpiBitmapInfoHeader* h = MapBlock(sizeof *h);
        uint8_t* bits = MapBlock(8);
        if (!h || !bits) return SPI_NO_MEMORY;
        h->biSize = sizeof *h, h->biWidth = 2, h->biHeight = 1, h->biPlanes = 1, h->biBitCount = 24;
        bits[1] = 255, bits[3] = bits[4] = bits[5] = 255;
        *pHBInfo = h;
        *pHBm = bits;
        return SPI_SUCCESS;
    }
#endif
    if (strncmp(fault, "huge", 4) == 0)
        *pHBInfo = Header(30000, 30000, 24), *pHBm = malloc(64);
    else if (strncmp(fault, "short", 5) == 0)
        *pHBInfo = Header(100, 100, 24), *pHBm = malloc(16);
    else if (strncmp(fault, "negative", 8) == 0)
        *pHBInfo = Header(-5, 4, 24), *pHBm = malloc(256);
    else if (strncmp(fault, "bits", 4) == 0)
        *pHBInfo = Header(2, 2, 7), *pHBm = malloc(64);
    else if (strncmp(fault, "nobits", 6) == 0)
        *pHBInfo = Header(2, 2, 24), *pHBm = NULL;
    else if (strncmp(fault, "tinyinfo", 8) == 0)
        *pHBInfo = malloc(8), *pHBm = malloc(64);
    else if (strncmp(fault, "zeroalpha", 9) == 0 || strncmp(fault, "somealpha", 9) == 0) {
        /* 2 x 1, 32 bits: B 10, G 20, R 30; alpha 0, and 200 in the second for "somealpha" */
        *pHBInfo = Header(2, 1, 32);
        uint8_t* bits = calloc(8, 1);
        for (int i = 0; i < 2; ++i)
            bits[i * 4] = 10, bits[i * 4 + 1] = 20, bits[i * 4 + 2] = 30;
        if (fault[0] == 's') bits[7] = 200;
        *pHBm = bits;
    } else { /* a good 2 x 2 picture of 8 bits, bottom-up: palette 0 red, 1 blue */
        SpiBitmapInfoHeader* h = Header(2, 2, 8);
        h->biClrUsed = 2;
        SpiRgbQuad* colours = (SpiRgbQuad*)(h + 1);
        colours[0].rgbRed = 255;
        colours[1].rgbBlue = 255;
        uint8_t* bits = calloc(8, 1);
        bits[0] = 1; /* bottom row: blue, red */
        bits[5] = 1; /* top row: red, blue */
        *pHBInfo = h;
        *pHBm = bits;
    }
    return SPI_SUCCESS;
}
