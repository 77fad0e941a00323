#include "library/search_fold.h"

#include <unicode/unorm2.h>

namespace Yomibon {
namespace {

// NFKC with case folding: full-width Latin and digits become ASCII, half-width katakana
// becomes full-width with its sound marks joined, upper case becomes lower case.
const UNormalizer2* Folding() {
    static const UNormalizer2* normalizer = [] {
        UErrorCode status = U_ZERO_ERROR;
        const UNormalizer2* n = unorm2_getNFKCCasefoldInstance(&status);
        return U_SUCCESS(status) ? n : nullptr;
    }();
    return normalizer;
}

bool Dropped(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'・' || c == u'\u3000';
}

}  // namespace

std::u16string FoldForSearch(std::u16string_view text) {
    std::u16string out(text.size() * 2 + 8, u'\0');
    const UNormalizer2* n = Folding();
    int32_t length = -1;
    if (n) {
        UErrorCode status = U_ZERO_ERROR;
        length = unorm2_normalize(n, text.data(), int32_t(text.size()), out.data(),
                                  int32_t(out.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.resize(size_t(length));
            status = U_ZERO_ERROR;
            length = unorm2_normalize(n, text.data(), int32_t(text.size()), out.data(),
                                      int32_t(out.size()), &status);
        }
        if (U_FAILURE(status)) length = -1;
    }
    if (length < 0)
        out.assign(text);
    else
        out.resize(size_t(length));
    size_t kept = 0;
    for (char16_t c : out) {
        if (Dropped(c)) continue;
        // Katakana ァ..ヶ sit 0x60 above their hiragana.
        if (c >= u'ァ' && c <= u'ヶ') c = char16_t(c - 0x60);
        out[kept++] = c;
    }
    out.resize(kept);
    return out;
}

}  // namespace Yomibon
