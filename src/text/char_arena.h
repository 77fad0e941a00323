// Characters kept at a fixed place until cleared, for the runs of a line being built: the
// runs view them until the buffer stores the line and gathers them (LineInfo::pack), so a
// run's text costs no allocation of its own.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

namespace Yomibon {

class CYbCharArena {
  public:
    CYbCharArena() = default;
    // A copy starts empty: what the arena holds is the pending line of the one parser.
    CYbCharArena(const CYbCharArena&) {}
    CYbCharArena& operator=(const CYbCharArena&) { return *this; }
    CYbCharArena(CYbCharArena&&) noexcept = default;
    CYbCharArena& operator=(CYbCharArena&&) noexcept = default;

    // A copy of s that stays where it is until clear().
    std::u16string_view keep(std::u16string_view s);
    // Forgets every copy; the first block is kept for the next line.
    void clear();

  private:
    std::vector<std::unique_ptr<char16_t[]>> blocks_;
    size_t used_ = 0;
    size_t capacity_ = 0;
};

}  // namespace Yomibon
