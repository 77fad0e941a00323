// How the C library's allocator serves the process: set once, first thing in main, before
// any thread starts.
#pragma once

#include <cstddef>

namespace Yomibon {

// Keeps blocks of up to 32 MB in the heap, where a freed block is used again without the
// kernel handing out fresh pages, gives every thread the one heap, and reserves `reserve`
// bytes of address space at its top that the kernel backs with 2 MB pages as they are first
// written. Opening a novel writes tens of megabytes of runs; a fault per 4 KB page of them
// is most of the time a fresh process spends parsing. The default holds the parse of a novel
// of a few megabytes; past it the heap grows in 4 KB pages again, so that a long session's
// memory is not rounded up to 2 MB. Nothing is touched here: the memory counts only once
// used. Does nothing where the allocator is not the GNU C library's.
void TuneHeap(size_t reserve = size_t(32) << 20);

}  // namespace Yomibon
