// Limits on what comes from outside. Past a limit the work degrades (truncates, skips)
// and goes on; it never crashes or allocates without bound.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Yomibon::Limits {

// Longest source file read whole into memory.
constexpr size_t kMaxTextFileBytes = size_t(256) << 20;
// Longest annotation body searched for its closing string, in UTF-16 units.
constexpr size_t kMaxAnnotationUnits = 4096;
// Deepest nesting of annotations inside annotations ("［＃「図［＃「10」は縦中横］」…］");
// brackets nested deeper are not counted.
constexpr size_t kMaxAnnotationDepth = 8;
// Longest stretch of a line's plain text searched back for an annotation's target.
constexpr size_t kMaxSearchBackUnits = 8192;
// Most runs a text is parsed into (about 40 bytes each, whatever their length): text past
// it is left out, so that notation changing class at every character (one run per
// character) cannot take memory out of proportion to the file. Nine times the runs of the
// longest texts of the library.
constexpr size_t kMaxTextRuns = 4'000'000;
// Deepest nesting of block annotations (indents, boxes) kept on a stack.
constexpr size_t kMaxNestingDepth = 64;
// Deepest element nesting handed to the HTML engine, whose tree building and style cascade
// recurse once per level; start tags past it are dropped (their content stays).
constexpr size_t kMaxHtmlNestingDepth = 512;
// Largest decoded picture.
constexpr uint64_t kMaxPicturePixels = 100'000'000;
// No picture file decodes to more pixels than this per byte of the file (deflate expands
// at most 1032 times, LZW about 2700 pixels per byte, JPEG a few hundred); a header that
// claims more is lying, and is refused before anything is allocated.
constexpr uint64_t kMaxPicturePixelsPerFileByte = 4096;
// Whether a picture file of fileBytes may hold a width x height picture.
constexpr bool PictureSizeAllowed(uint64_t width, uint64_t height, uint64_t fileBytes) {
    if (width == 0 || height == 0 || width > kMaxPicturePixels || height > kMaxPicturePixels)
        return false;
    const uint64_t pixels = width * height;
    return pixels <= kMaxPicturePixels && pixels / kMaxPicturePixelsPerFileByte <= fileBytes;
}
// Largest picture file read whole into memory.
constexpr uint64_t kMaxPictureFileBytes = uint64_t(512) << 20;
// Archive extraction stops beyond these.
constexpr uint64_t kMaxArchiveBytes = uint64_t(1) << 30;
constexpr size_t kMaxArchiveEntries = 100'000;
// One extracted file at most as long as the longest text read.
constexpr uint64_t kMaxArchiveEntryBytes = kMaxTextFileBytes;
// An archive unpacks to at most this many times its own size once past the floor: texts
// compress some 3 to 10 times, a zip bomb thousands of times.
constexpr uint64_t kMaxArchiveRatio = 200;
constexpr uint64_t kArchiveRatioFloorBytes = uint64_t(64) << 20;
// Extraction folders nothing names any more are removed at start-up past this total.
constexpr uint64_t kMaxExtractionFolderBytes = uint64_t(512) << 20;

// Largest body fetched from an address (page, style sheet or picture).
constexpr uint64_t kMaxDownloadBytes = uint64_t(64) << 20;
// The download cache is trimmed, oldest files first, to this size.
constexpr uint64_t kMaxDownloadCacheBytes = uint64_t(256) << 20;
// The library's catalogue (a CSV file of some tens of megabytes at most) is not read past this
// many bytes once unpacked, nor past this many works.
constexpr uint64_t kMaxCatalogueBytes = uint64_t(512) << 20;
constexpr size_t kMaxCatalogueWorks = 1'000'000;

// Largest settings-side table or profile file read (CSV tables, INI files, .lay files);
// the rest of a longer file is not read.
constexpr size_t kMaxTableFileBytes = size_t(64) << 20;
// Largest key-binding file read (a full one is a few kilobytes).
constexpr size_t kMaxKeyFileBytes = size_t(1) << 20;
// Most fields a table (CSV file) is split into; the rest of a longer table is not read.
constexpr size_t kMaxTableFields = 1'000'000;
// A settings value is read into a buffer of this many UTF-16 units, terminator included.
constexpr size_t kProfileValueUnits = 1024;
// A layout box holds at most this many columns and cells per column, and a layout file at
// most this many boxes of one kind; larger values in a file are cut to them.
constexpr int32_t kMaxLayoutCount = 10'000;
// Coordinates and sizes in a layout file (hundredths of a millimetre) are clamped to a
// metre either way, so that no arithmetic on them can overflow.
constexpr int32_t kMaxLayoutCoordinate = 100'000;
constexpr size_t kMaxLayoutBoxes = 1'000;

}  // namespace Yomibon::Limits
