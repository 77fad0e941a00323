#include "text/table_index.h"

#include <bit>
#include <functional>

#include "text/table_file.h"

namespace Yomibon {

TableIndex::TableIndex(std::u16string text) : text_(std::move(text)) {
    ForEachTableRow(text_, [this](std::u16string_view key, std::u16string_view value) {
        rows_.push_back({uint32_t(key.data() - text_.data()), uint32_t(key.size()),
                         uint32_t(value.data() - text_.data()), uint32_t(value.size())});
    });
    buildSlots();
}

void TableIndex::buildSlots() {
    // At most half full, so that a search ends after a slot or two.
    slots_.assign(std::bit_ceil(rows_.size() * 2 + 2), kNone);
    for (uint32_t row = 0; row < rows_.size(); ++row) {
        uint32_t& slot = slots_[slotOf(keyOf(rows_[row]))];
        if (slot == kNone) ++keys_;
        slot = row;
    }
}

std::u16string_view TableIndex::keyOf(const Row& row) const {
    return std::u16string_view(text_.data() + row.key, row.keyLength);
}

size_t TableIndex::slotOf(std::u16string_view key) const {
    const size_t mask = slots_.size() - 1;
    size_t slot = std::hash<std::u16string_view>{}(key)&mask;
    while (slots_[slot] != kNone && keyOf(rows_[slots_[slot]]) != key)
        slot = (slot + 1) & mask;
    return slot;
}

uint32_t TableIndex::find(std::u16string_view key) const {
    if (slots_.empty()) return kNone;
    return slots_[slotOf(key)];
}

std::u16string_view TableIndex::value(std::u16string_view key) const {
    const uint32_t row = find(key);
    if (row == kNone) return {};
    return std::u16string_view(text_.data() + rows_[row].value, rows_[row].valueLength);
}

}  // namespace Yomibon
