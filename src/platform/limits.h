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
// Deepest nesting of block annotations (indents, boxes) kept on a stack.
constexpr size_t kMaxNestingDepth = 64;
// Deepest element nesting handed to the HTML engine, whose tree building and style cascade
// recurse once per level; start tags past it are dropped (their content stays).
constexpr size_t kMaxHtmlNestingDepth = 512;
// Largest decoded picture.
constexpr uint64_t kMaxPicturePixels = 100'000'000;
// Largest picture file read whole into memory.
constexpr uint64_t kMaxPictureFileBytes = uint64_t(512) << 20;
// Archive extraction stops beyond these.
constexpr uint64_t kMaxArchiveBytes = uint64_t(1) << 30;
constexpr size_t kMaxArchiveEntries = 100'000;

// Largest body fetched from an address (page, style sheet or picture).
constexpr uint64_t kMaxDownloadBytes = uint64_t(64) << 20;
// The download cache is trimmed, oldest files first, to this size.
constexpr uint64_t kMaxDownloadCacheBytes = uint64_t(256) << 20;

// Largest settings-side table or profile file read (CSV tables, INI files, .lay files);
// the rest of a longer file is not read.
constexpr size_t kMaxTableFileBytes = size_t(64) << 20;
// Largest key-binding file read (a full one is a few kilobytes).
constexpr size_t kMaxKeyFileBytes = size_t(1) << 20;
// A settings value is read into a buffer of this many UTF-16 units, terminator included.
constexpr size_t kProfileValueUnits = 1024;
// A layout box holds at most this many columns and cells per column, and a layout file at
// most this many boxes of one kind; larger values in a file are cut to them.
constexpr int32_t kMaxLayoutCount = 10'000;
constexpr size_t kMaxLayoutBoxes = 1'000;

}  // namespace Yomibon::Limits
