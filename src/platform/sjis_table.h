// Shift_JIS (Windows code page 932) to UTF-16 through a table taken once from ICU's own
// converter: a library text is nearly all ordinary one- and two-byte characters, and a table
// look-up per character is several times faster than a converter call. Whatever the table
// does not hold (bad or unassigned sequences) goes to the converter, so the result is always
// exactly the converter's.
#pragma once

#include <cstddef>
#include <string>

namespace Yomibon {

// Appends the UTF-16 of Shift_JIS bytes to out, each sequence the code page cannot read
// becoming U+FFFD (as ConvertToUtf16Lenient does). False only when ICU has no converter.
bool DecodeShiftJis(const char* data, size_t size, std::u16string& out);

}  // namespace Yomibon
