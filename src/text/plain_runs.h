// Plain text into runs, shared by the parsers: the special strings that become runs of
// their own, and the cut of plain text wherever the character class changes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "text/text_buffer.h"

namespace Yomibon {

struct SpecialCharRow;

// The special-string row that starts the text, or null.
const SpecialCharRow* MatchSpecialChar(std::u16string_view text);

// The last plain run of a line and its last character index; false when there is none.
bool LastPlainPoint(const std::vector<TextInfo>& runs, int32_t& index, int32_t& pos);

// Appends a special string's run (anchored at the last plain character before it).
void AppendSpecialRun(const SpecialCharRow& row, std::vector<TextInfo>& runs);

// Appends text as plain runs cut at every change of character class, the special strings
// becoming runs of their own. With keepBar "｜" stays plain text (there is no ruby notation
// that it could open).
void AppendTextRuns(std::u16string_view text, std::vector<TextInfo>& runs, bool keepBar);

}  // namespace Yomibon
