// A readable account of an arrangement: the characters of each column as they will be set.
#pragma once

#include <string>
#include <vector>

#include "text/text_buffer.h"

namespace Yomibon {

class CYbKinsoku;
struct LayoutBox;

// Where one column of a line stands and what it holds.
struct ColumnSummary {
    int column = 0;    // global column
    int box = 0;       // box number from 1 over the document
    int page = 0;      // page number from 0
    int capacity = 0;  // quarters: cells × 4 + half a cell
    // Plain characters in setting order; those that hang below the column end or are
    // dropped at it are wrapped in ⟨ ⟩.
    std::u16string text;
    int hanging = 0;  // characters past the column's room (dropped spaces not counted)
    int end = 0;      // quarters from the column top to the end of its last character
};

// The summary of turn `turn` of line `line`.
ColumnSummary SummarizeColumn(const CYbTxtBuffer& buffer, int line, size_t turn,
                              const std::vector<LayoutBox>& boxes, const CYbKinsoku& kinsoku);

}  // namespace Yomibon
