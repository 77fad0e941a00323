// The vocabulary of Aozora notation: which bracketed form yields which run type.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace Yomibon {

// One row of the annotation table: a form opening with `open`, closing with `close`.
struct AnnotationRow {
    int textType;
    std::u16string_view open;
    std::u16string_view close;
};

// One special character (or pair) that becomes a run of its own.
struct SpecialCharRow {
    std::u16string_view str;
    int textType;
};

// One placement word of a picture annotation.
struct PicturePlacement {
    std::u16string_view word;
    int textType;
};

// The rows in matching order: on a tie of closing positions the earlier row wins.
std::span<const AnnotationRow> AnnotationTable();

// The rows sharing one closing string, in table order.
struct AnnotationCloseGroup {
    std::u16string_view close;
    std::vector<int> rows;
};

// The rows that can close an annotation whose "］" follows the character `before`: the groups
// whose closing string ends in that character and "］", longest first, then the rows closing
// with "］" alone. Matching through these finds the same row as trying every row in order.
const std::vector<AnnotationCloseGroup>& AnnotationGroupsClosingAfter(char16_t before);

// Index of the row whose opening string is exactly `open` (first such row), or -1.
int FindAnnotationByOpen(std::u16string_view open);

// "｜", "／＼", "／″＼", "゜", "゛", "―" in this order.
std::span<const SpecialCharRow> SpecialCharTable();

// The words that name a picture, tried in order.
std::span<const std::u16string_view> PictureWords();

// Placement words and the picture type each gives.
std::span<const PicturePlacement> PicturePlacements();

// True for run types whose tpBegin/tpEnd are places in their line (the target of a
// ruby, mark or note), false where they hold layout parameters.
bool RunHoldsPoints(int textType);

}  // namespace Yomibon
