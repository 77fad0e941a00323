#include "library/catalogue_index.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "library/search_fold.h"

namespace Yomibon {
namespace {

// Fields are kept apart so that a word never matches across two of them.
constexpr char16_t kFieldEnd = u'\u0001';

// Every word of `words` extends the word at the same place in `previous` (the reader typed
// on): the new results are a subset of the old ones.
bool Narrows(const std::vector<std::u16string>& words,
             const std::vector<std::u16string>& previous) {
    if (previous.empty() || words.size() < previous.size()) return false;
    for (size_t i = 0; i < previous.size(); ++i)
        if (words[i].find(previous[i]) == std::u16string::npos) return false;
    return true;
}

std::u16string_view Stripped(std::u16string_view id) {
    while (id.size() > 1 && id.front() == u'0')
        id.remove_prefix(1);
    return id;
}

}  // namespace

std::vector<std::u16string> FoldedWords(std::u16string_view query) {
    std::vector<std::u16string> words;
    size_t start = 0;
    for (size_t i = 0; i <= query.size(); ++i) {
        if (i < query.size() && query[i] != u' ' && query[i] != u'\u3000' && query[i] != u'\t')
            continue;
        if (i > start) {
            std::u16string word = FoldForSearch(query.substr(start, i - start));
            if (!word.empty()) words.push_back(std::move(word));
        }
        start = i + 1;
    }
    return words;
}

void CYbCatalogueIndex::assign(std::vector<CatalogueWork> works) {
    works_ = std::move(works);
    folded_.clear();
    offsets_.clear();
    for (const CatalogueWork& w : works_) {
        offsets_.push_back(uint32_t(folded_.size()));
        for (const std::u16string* field :
             {&w.title, &w.titleReading, &w.subtitle, &w.subtitleReading}) {
            folded_ += FoldForSearch(*field);
            folded_ += kFieldEnd;
        }
        for (const CataloguePerson& p : w.persons) {
            folded_ += FoldForSearch(p.name) + kFieldEnd;
            folded_ += FoldForSearch(p.reading) + kFieldEnd;
        }
    }
    offsets_.push_back(uint32_t(folded_.size()));
    order_.resize(works_.size());
    std::iota(order_.begin(), order_.end(), 0u);
    words_.clear();
    sortBy(key_, ascending_);
}

void CYbCatalogueIndex::sortBy(SortKey key, bool ascending) {
    key_ = key;
    ascending_ = ascending;
    // Keys are made once per work, not once per comparison: year first (0 unless ordering
    // by year), then the column's text, then the title's reading.
    std::vector<std::tuple<int, std::u16string, std::u16string>> keys;
    keys.reserve(works_.size());
    for (const CatalogueWork& w : works_) {
        const std::u16string& reading = w.sortReading.empty() ? w.titleReading : w.sortReading;
        switch (key_) {
            case BY_AUTHOR:
                keys.emplace_back(0, w.authorsReading(), reading);
                break;
            case BY_KANA_STYLE:
                keys.emplace_back(0, w.kanaStyle, reading);
                break;
            case BY_YEAR:
                keys.emplace_back(w.year, reading, w.title);
                break;
            case BY_TITLE:
                keys.emplace_back(0, reading, w.title);
                break;
        }
    }
    auto less = [&](uint32_t a, uint32_t b) {
        return ascending_ ? keys[a] < keys[b] : keys[b] < keys[a];
    };
    std::iota(order_.begin(), order_.end(), 0u);
    std::stable_sort(order_.begin(), order_.end(), less);
    results_.clear();
    for (uint32_t i : order_)
        if (matches(i, words_)) results_.push_back(i);
}

const std::vector<uint32_t>& CYbCatalogueIndex::search(std::u16string_view query) {
    std::vector<std::u16string> words = FoldedWords(query);
    // results_ always holds the answer for words_.
    if (words == words_) return results_;
    std::vector<uint32_t> found;
    if (Narrows(words, words_)) {
        for (uint32_t i : results_)
            if (matches(i, words)) found.push_back(i);
    } else {
        for (uint32_t i : order_)
            if (matches(i, words)) found.push_back(i);
    }
    results_ = std::move(found);
    words_ = std::move(words);
    return results_;
}

std::u16string_view CYbCatalogueIndex::text(uint32_t work) const {
    return std::u16string_view(folded_).substr(offsets_[work], offsets_[work + 1] - offsets_[work]);
}

bool CYbCatalogueIndex::matches(uint32_t work, const std::vector<std::u16string>& words) const {
    const std::u16string_view t = text(work);
    for (const std::u16string& w : words)
        if (t.find(w) == std::u16string_view::npos) return false;
    return true;
}

const CatalogueWork* CYbCatalogueIndex::find(std::u16string_view id) const {
    const std::u16string_view wanted = Stripped(id);
    for (const CatalogueWork& w : works_)
        if (Stripped(w.id) == wanted) return &w;
    return nullptr;
}

}  // namespace Yomibon
