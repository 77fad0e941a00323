#include "text/annotation_text.h"

namespace Yomibon {

bool IsAllDigits(std::u16string_view text) {
    if (text.empty()) return false;
    for (char16_t c : text) {
        c = ToAsciiDigit(c);
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

int32_t AnnotationNumber(std::u16string_view text) {
    constexpr int32_t kMax = 1'000'000;  // far beyond any indent or line length
    int32_t value = 0;
    for (char16_t c : text) {
        c = ToAsciiDigit(c);
        if (c < u'0' || c > u'9') break;
        value = value * 10 + (c - u'0');
        if (value > kMax) value = kMax;
    }
    return value;
}

std::u16string_view ExternalCharDescription(std::u16string_view x) {
    size_t open = x.find(u'「');
    if (open != std::u16string_view::npos) {
        size_t close = x.rfind(u'」');
        if (close != std::u16string_view::npos && close > open)
            return x.substr(open + 1, close - open - 1);
    }
    return x.substr(0, x.find(u'、'));
}

}  // namespace Yomibon
