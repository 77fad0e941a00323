#include "text/txt_search_history.h"

#include <algorithm>

#include "platform/utf16.h"

namespace Yomibon {

std::u16string SearchHistoryKey(size_t n) {
    return u"HistSearchWord" + std::u16string(1, char16_t(u'0' + n % 10));
}

std::u16string CutSearchWord(std::u16string_view text) {
    size_t n = std::min(text.size(), kSearchWordMax);
    // Cutting between the halves of a pair would leave a broken character behind.
    if (n > 0 && n < text.size() && IsHighSurrogate(text[n - 1]) && IsLowSurrogate(text[n])) --n;
    return std::u16string(text.substr(0, n));
}

std::vector<std::u16string> AddSearchWord(std::vector<std::u16string> history,
                                          const std::u16string& word) {
    std::erase(history, word);
    history.push_back(word);
    return history;
}

std::vector<std::u16string> NewestSearchWords(const std::vector<std::u16string>& history) {
    std::vector<std::u16string> out;
    for (auto it = history.rbegin(); it != history.rend() && out.size() < kSearchHistoryCount; ++it)
        if (!it->empty()) out.push_back(*it);
    return out;
}

}  // namespace Yomibon
