// Type sizes of headings and of the larger and smaller characters, as the library's style
// sheet sets them, in sixteenths of the body size.
#pragma once

#include "text/text_buffer.h"

namespace Yomibon {

// Sixteenths of the body size: 16 is body size.
inline constexpr int kBodySize16 = 16;

// The size a run of this type (and, for the larger and smaller characters, this number of
// steps) gives the characters it covers; 16 for types that keep the body size.
int SizeOfRun(int textType, int steps);

// Enters the size of every plain character covered by a heading or a larger or smaller
// character range into the buffer's size map (later runs win over earlier ones).
void MarkSizes(CYbTxtBuffer& buffer);

}  // namespace Yomibon
