// Annotations written inside other annotations: a caption or target that carries its own
// "［＃…］" (an external character, tate-chu-yoko, italics) or ruby.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Yomibon {

// The "］" that closes the annotation whose body starts at `from` (just after "［＃"),
// counting the brackets of annotations nested inside it up to the nesting limit. When the
// brackets do not balance within `text` (or nest too deep) the first "］" is taken, as for
// an annotation without nesting; npos when there is none.
size_t FindAnnotationClose(std::u16string_view text, size_t from);

// The text an annotation body stands for once the annotations inside it have been applied:
// external characters become their character (or "※" when unknown), ruby readings and
// the "｜" before a ruby base are dropped, every other inner annotation is removed. A text
// without "［＃" or "《" is returned as it is.
std::u16string ApplyNestedAnnotations(std::u16string_view text);

}  // namespace Yomibon
