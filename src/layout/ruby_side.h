// Which side of its base a reading is set on.
#pragma once

#include <vector>

#include "text/text_buffer.h"

namespace Yomibon {

// True for left-side ruby, and for a "sic" note whose base already carries a reading on the
// right: the note moves to the left so that the two never lie over each other.
bool IsLeftSideRuby(const std::vector<TextInfo>& runs, int index);

}  // namespace Yomibon
