// One allocation per line for the characters of its runs.
#include <algorithm>

#include "text/text_buffer.h"

namespace Yomibon {

// A novel has hundreds of thousands of runs: each byte of a run is most of a megabyte.
static_assert(sizeof(void*) != 8 || sizeof(CYbRunText) == 12);
static_assert(sizeof(void*) != 8 || sizeof(TextInfo) == 32);

void LineInfo::pack() {
    size_t units = 0;
    for (const TextInfo& run : runs)
        if (!run.str.empty()) units += run.str.size() + 1;
    if (units == 0) {
        chars.reset();
        return;
    }
    // Written in full below: no need to clear it first.
    std::shared_ptr<char16_t[]> block = std::make_shared_for_overwrite<char16_t[]>(units);
    char16_t* out = block.get();
    for (TextInfo& run : runs) {
        if (run.str.empty()) continue;
        const size_t n = run.str.size();
        const char16_t* from = run.str.data();
        // Most runs are a few characters: a call to copy them costs more than the copy.
        if (n <= 4) {
            for (size_t i = 0; i < n; ++i)
                out[i] = from[i];
        } else {
            std::copy(from, from + n, out);
        }
        out[n] = 0;
        run.str.rebind(out);
        out += n + 1;
    }
    // The old block (of which runs may have been views) goes only now, after the copy.
    chars = std::move(block);
}

}  // namespace Yomibon
