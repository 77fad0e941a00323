#include "platform/heap_tuning.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#endif

namespace Yomibon {

void TuneHeap(size_t reserve) {
#if defined(__GLIBC__)
    // The largest value the allocator takes; larger blocks are still mapped on their own.
    constexpr int kMmapThreshold = 32 << 20;
    mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
    // Freed memory at the top goes back to the system only past twice the reserve, so the
    // reserve outlives its own release below and the memory of a closed book serves the next.
    mallopt(M_TRIM_THRESHOLD, int(std::min<size_t>(2 * reserve, size_t(1) << 30)));
    // One heap for all threads: a text parsed on a second thread lands in the reserve too,
    // and the reader's few threads allocate too little to contend for it.
    mallopt(M_ARENA_MAX, 1);
    // The reserve is taken as blocks below the threshold, one after the other from the top
    // of the heap, which grows by them; freed, they join the top again and later blocks are
    // cut from it. Only whole 2 MB pages within them are advised; the allocator has written
    // its headers where the blocks meet, and the few pages they touched stay small pages.
    constexpr size_t kBlock = size_t(16) << 20;
    constexpr uintptr_t kHugePage = uintptr_t(2) << 20;
    std::vector<void*> blocks;
    blocks.reserve(reserve / kBlock + 1);  // before the blocks: not between them
    for (size_t taken = 0; taken < reserve; taken += kBlock) {
        void* block = std::malloc(kBlock);
        if (!block) break;
        blocks.push_back(block);
    }
    // Blocks that follow each other closely are one span of address space, advised whole.
    for (size_t i = 0; i < blocks.size();) {
        size_t j = i + 1;
        while (j < blocks.size() && uintptr_t(blocks[j]) > uintptr_t(blocks[j - 1]) &&
               uintptr_t(blocks[j]) - uintptr_t(blocks[j - 1]) <= kBlock + 64)
            ++j;
        const uintptr_t begin = (uintptr_t(blocks[i]) + kHugePage - 1) & ~(kHugePage - 1);
        const uintptr_t end = (uintptr_t(blocks[j - 1]) + kBlock) & ~(kHugePage - 1);
        if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
        i = j;
    }
    for (void* block : blocks)
        std::free(block);
#else
    (void)reserve;
#endif
}

}  // namespace Yomibon
