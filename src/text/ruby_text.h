// The reading of a ruby as it is set: the notation's special strings inside it become the
// characters they stand for, as they do in the body text.
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

// "／＼" and "／″＼" become the vertical repeat marks 〳〵 and 〴〵; a kana followed by
// "゛" or "゜" becomes its precomposed voiced or semi-voiced form (a mark after anything
// else stays as written).
std::u16string RubyText(std::u16string_view reading);

}  // namespace Yomibon
