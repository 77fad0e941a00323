// The picture annotation ［＃caption（file、size、placement）入る］.
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

// True when the text after "［＃" names a picture: one of the picture words, followed up
// to the next "（" by nothing or a number above 0.
bool IsPictureAnnotation(std::u16string_view text);

// The run of a picture annotation's inner text: its type (50, 51 or 52) and the
// zero-separated fields file, caption, size, placement. False without a "（".
bool MakePictureRun(std::u16string_view x, int& textType, std::u16string& fields);

}  // namespace Yomibon
