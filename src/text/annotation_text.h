// Small readings of annotation texts: numbers and external-character descriptions.
#pragma once

#include <cstdint>
#include <string_view>

namespace Yomibon {

// "０".."９" become "0".."9"; other characters are returned unchanged.
inline char16_t ToAsciiDigit(char16_t c) {
    return (c >= u'０' && c <= u'９') ? char16_t(u'0' + (c - u'０')) : c;
}

// True for a non-empty text of ASCII or full-width digits only.
bool IsAllDigits(std::u16string_view text);

// The decimal integer at the start of a text (ASCII or full-width digits); 0 without
// digits. Saturates instead of overflowing.
int32_t AnnotationNumber(std::u16string_view text);

// The description shown for an external character: the text between "「" and "」" when
// both occur in that order, else the text up to the first "、".
std::u16string_view ExternalCharDescription(std::u16string_view x);

}  // namespace Yomibon
