// A key/value table file held as its text, with an index of views into it: the external
// character tables have tens of thousands of rows, and a map of strings built from them
// cost the first external character of a text as much as parsing the text's head.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Yomibon {

class TableIndex {
  public:
    TableIndex() = default;
    // Indexes the rows of exactly two TAB-separated columns of a table's text; other rows
    // are skipped. A later row of the same key wins, as in the file's own order.
    explicit TableIndex(std::u16string text);

    // The value of a key; empty when the table has none.
    std::u16string_view value(std::u16string_view key) const;
    bool contains(std::u16string_view key) const { return find(key) != kNone; }
    // The number of keys.
    size_t size() const { return keys_; }

  private:
    struct Row {
        uint32_t key = 0;
        uint32_t keyLength = 0;
        uint32_t value = 0;
        uint32_t valueLength = 0;
    };
    static constexpr uint32_t kNone = UINT32_MAX;

    void buildSlots();
    std::u16string_view keyOf(const Row& row) const;
    // The row of a key, or kNone.
    uint32_t find(std::u16string_view key) const;
    // The slot a key's search ends at: its row's or an empty one.
    size_t slotOf(std::u16string_view key) const;

    std::u16string text_;
    std::vector<Row> rows_;
    std::vector<uint32_t> slots_;  // row numbers; kNone for an empty slot
    size_t keys_ = 0;
};

}  // namespace Yomibon
