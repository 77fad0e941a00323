// The document's entry to line arrangement: arranges every buffer line into the text boxes
// of a layout and works out the last page.
#pragma once

#include <vector>

#include "text/text_buffer.h"

namespace Yomibon {

class CYbTxtLayout;
class CYbTxtParam;
struct LayoutBox;

// Arranges every line of the buffer (turn lists, column numbers, narrow marks, picture
// boxes) in the layout's text boxes under the character lists of the settings, and returns
// the last page number: the left-hand page of the last spread, always odd, 1 when empty.
int ArrangeDocument(CYbTxtBuffer& buffer, const CYbTxtLayout& layout, const CYbTxtParam& param);

// The last page number from what an arrangement wrote into the buffer. A final column that
// ends exactly at a spread's end does not open a further, empty spread.
int LastPageNumber(const CYbTxtBuffer& buffer, int columnsPerSpread, int boxCount);

// Box number (counted from 1 over the whole document) that holds a global column; 0 when
// the boxes hold no columns.
int ColumnToBox(int column, const std::vector<LayoutBox>& boxes);

}  // namespace Yomibon
