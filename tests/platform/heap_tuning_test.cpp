// The heap tuned as the programs tune it at start: a block of 8 MB (which the allocator
// would otherwise map on its own) served from the reserve the kernel was advised to back
// with 2 MB pages, as its map of the process shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/heap_tuning.h"

namespace Yomibon {
namespace {

// The flags ("rd wr mr …") of the mapping holding an address; empty when none does.
std::string MappingFlags(const void* address) {
    std::ifstream maps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    const uintptr_t at = uintptr_t(address);
    while (std::getline(maps, line)) {
        uintptr_t begin = 0, end = 0;
        char dash = 0;
        std::istringstream head(line);
        if (head >> std::hex >> begin >> dash >> end && dash == '-' &&
            line.find(':') > line.find(' ')) {
            inside = begin <= at && at < end;
            continue;
        }
        if (inside && line.rfind("VmFlags:", 0) == 0) return line.substr(8) + " ";
    }
    return {};
}

TEST(HeapTuning, BlocksComeFromAReserveAdvisedForLargePages) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "blocks come from the sanitizer's allocator, which the tuning leaves alone";
#endif
    if (!std::filesystem::exists("/sys/kernel/mm/transparent_hugepage/enabled"))
        GTEST_SKIP() << "the kernel has no transparent huge pages";
    TuneHeap(size_t(32) << 20);
    // 8 MB is past the allocator's own threshold for a mapping of its own: the block comes
    // from the heap, at the start of the reserve.
    auto* block = static_cast<char*>(std::malloc(size_t(8) << 20));
    ASSERT_NE(block, nullptr);
    block[0] = 1;
    const std::string flags = MappingFlags(block + (size_t(4) << 20));
    std::free(block);
    ASSERT_FALSE(flags.empty());
    EXPECT_NE(flags.find(" hg "), std::string::npos) << flags;
}

}  // namespace
}  // namespace Yomibon
