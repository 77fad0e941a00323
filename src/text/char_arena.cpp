#include "text/char_arena.h"

#include <algorithm>

namespace Yomibon {
namespace {

constexpr size_t kBlockUnits = 4096;

}  // namespace

std::u16string_view CYbCharArena::keep(std::u16string_view s) {
    if (s.empty()) return {};
    if (capacity_ - used_ < s.size()) {
        // A block of its own for a long text: the current block stays in use for short ones.
        const size_t units = std::max(kBlockUnits, s.size());
        blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(units));
        if (units > kBlockUnits && blocks_.size() > 1) {
            std::swap(blocks_.back(), blocks_[blocks_.size() - 2]);
            std::copy(s.begin(), s.end(), blocks_[blocks_.size() - 2].get());
            return {blocks_[blocks_.size() - 2].get(), s.size()};
        }
        used_ = 0;
        capacity_ = units;
    }
    char16_t* at = blocks_.back().get() + used_;
    std::copy(s.begin(), s.end(), at);
    used_ += s.size();
    return {at, s.size()};
}

void CYbCharArena::clear() {
    if (blocks_.size() > 1 || capacity_ > kBlockUnits) {
        blocks_.clear();
        capacity_ = 0;
    }
    used_ = 0;
}

}  // namespace Yomibon
