// The catalogue as the browser searches it: every work's title, subtitle, persons and their
// readings folded once into one text, filtered word by word as the reader types. Results come
// out in the order chosen for the list, so a keystroke costs one pass and no sort; a query
// that only adds to the previous one looks again at the previous results alone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/catalogue_work.h"

namespace Yomibon {

class CYbCatalogueIndex {
  public:
    enum SortKey { BY_TITLE, BY_AUTHOR, BY_KANA_STYLE, BY_YEAR };

    void assign(std::vector<CatalogueWork> works);
    const std::vector<CatalogueWork>& works() const { return works_; }
    bool empty() const { return works_.empty(); }

    // Orders the list (and the current results) by a column.
    void sortBy(SortKey key, bool ascending);
    SortKey sortKey() const { return key_; }
    bool ascending() const { return ascending_; }

    // The works holding every blank-separated word of the query, as indices into works();
    // every work for an empty query.
    const std::vector<uint32_t>& search(std::u16string_view query);
    const std::vector<uint32_t>& results() const { return results_; }

    // The work with the id (leading zeros optional), or null.
    const CatalogueWork* find(std::u16string_view id) const;

  private:
    bool matches(uint32_t work, const std::vector<std::u16string>& words) const;
    std::u16string_view text(uint32_t work) const;

    std::vector<CatalogueWork> works_;
    std::u16string folded_;          // every work's folded fields, one after the other
    std::vector<uint32_t> offsets_;  // where each work's part starts; one more at the end
    std::vector<uint32_t> order_;    // all works in the list's order
    std::vector<uint32_t> results_;
    std::vector<std::u16string> words_;  // the folded words that gave results_
    SortKey key_ = BY_TITLE;
    bool ascending_ = true;
};

// Splits a query at blanks (ASCII or ideographic) into folded words.
std::vector<std::u16string> FoldedWords(std::u16string_view query);

}  // namespace Yomibon
