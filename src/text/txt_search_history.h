// The search-word history kept in the settings: nine words, newest first.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Yomibon {

inline constexpr size_t kSearchHistoryCount = 9;
inline constexpr size_t kSearchWordMax = 511;

// The settings key of history word n (1 = newest).
std::u16string SearchHistoryKey(size_t n);

// A typed search string cut to the longest the dialog accepts (a surrogate pair is kept
// whole, so the cut may leave 510 units).
std::u16string CutSearchWord(std::u16string_view text);

// The history (oldest first) with every copy of `word` removed and `word` appended.
std::vector<std::u16string> AddSearchWord(std::vector<std::u16string> history,
                                          const std::u16string& word);

// The words to store, newest first: at most nine non-empty ones.
std::vector<std::u16string> NewestSearchWords(const std::vector<std::u16string>& history);

}  // namespace Yomibon
