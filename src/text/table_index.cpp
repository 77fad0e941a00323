#include "text/table_index.h"

#include <bit>
#include <functional>

namespace Yomibon {

TableIndex::TableIndex(std::u16string text) : text_(std::move(text)) {
    const size_t size = text_.size();
    for (size_t start = 0; start < size;) {
        size_t end = start;
        while (end < size && text_[end] != u'\r' && text_[end] != u'\n')
            ++end;
        if (end > start) addRow(start, end);
        start = end + 1;
    }
    buildSlots();
}

void TableIndex::addRow(size_t begin, size_t end) {
    const std::u16string_view line(text_.data() + begin, end - begin);
    const size_t tab = line.find(u'\t');
    if (tab == std::u16string_view::npos || line.find(u'\t', tab + 1) != std::u16string_view::npos)
        return;
    rows_.push_back({uint32_t(begin), uint32_t(tab), uint32_t(begin + tab + 1),
                     uint32_t(line.size() - tab - 1)});
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
