// The form titles, names and readings are compared in when searching the catalogue, so that
// what a reader types finds what the catalogue writes another way: full- and half-width forms
// alike (ＡＢＣ, ｱｲｳ), letter case ignored, katakana as hiragana, blanks and middle dots dropped.
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

std::u16string FoldForSearch(std::u16string_view text);

}  // namespace Yomibon
