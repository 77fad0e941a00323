// Line arrangement: characters set larger or smaller than the body (headings and the
// larger and smaller character ranges).
#include <algorithm>

#include "layout/index_creator.h"
#include "text/char_sizes.h"

namespace Yomibon {

int CYbIndexCreator::sizedWidth(int32_t index, int32_t pos, int width) {
    offBodySize_ = false;
    if (!lineSized_) return width;
    const int size = buffer_.charSize(TextPoint{line_, index, pos});
    if (size == kBodySize16) return width;
    offBodySize_ = true;
    if (size > kBodySize16) enterLarger(index, pos);
    // width is in quarters of a body cell; the character's exact length in sixteenths.
    const int exact = (width * size + 3) / 4;
    // Only right after the sized character placed last, with nothing set in between.
    const bool follows = placed_ > 0 && last_.inColumn &&
                         RunPoint{last_.run, last_.pos} == slackAt_ &&
                         slackPos_ == std::max(pos_, extent_);
    const int slack = follows ? slack16_ : 0;
    const int quarters = std::max(1, (exact - slack + 3) / 4);
    slack16_ = quarters * 4 - (exact - slack);
    // The next character may use what is left once this one is placed.
    slackAt_ = RunPoint{index, pos};
    slackPos_ = std::max(pos_, extent_) + quarters;
    return quarters;
}

void CYbIndexCreator::enterLarger(int32_t index, int32_t pos) {
    if (colWide_) return;
    const int lines = boxLines(curBox_);
    if (lines < 2) return;  // a box of one column cannot give a second slot
    if (column_ + 1 >= boxFirstCol_ + lines) {
        // No slot to the left of the last column of a box: the larger type goes on in the
        // next box.
        if (placed_ == 0 && info_->turns.size() == 1) {
            nextColumn();
            info_->turns.back().iColumn = column_;
            info_->iStartCol = column_;
            computeLimit();
            columns_.back().limit = limit_;
            columns_.back().capacity = capacity();
        } else if (kinsoku_.isStart(buffer_.charAt(TextPoint{line_, index, pos}))) {
            return;  // what may not begin a column stays, on a column of one slot
        } else {
            startColumn(index, pos, true);
        }
        if (column_ + 1 >= boxFirstCol_ + boxLines(curBox_)) return;
    }
    colWide_ = true;
}

void CYbIndexCreator::skipLastSlotFor(int32_t run, int32_t pos) {
    // A column that begins with larger type does not begin in the last slot of a box.
    const int lines = boxLines(curBox_);
    if (!lineSized_ || lines < 2 || column_ + 1 < boxFirstCol_ + lines) return;
    if (buffer_.charSize(TextPoint{line_, run, pos}) > kBodySize16) nextColumn();
}

void CYbIndexCreator::keepWide(int32_t index, int32_t pos) {
    if (colWide_ || !lineSized_ || placed_ == 0) return;
    if (buffer_.charSize(TextPoint{line_, index, pos}) <= kBodySize16) return;
    const int lines = boxLines(curBox_);
    if (lines >= 2 && column_ + 1 < boxFirstCol_ + lines) colWide_ = true;
}

void CYbIndexCreator::leaveWideColumn() {
    if (!colWide_) return;
    colWide_ = false;
    buffer_.wideColumns().insert(column_);
    if (column_ + 1 < boxFirstCol_ + boxLines(curBox_)) ++column_;
}

}  // namespace Yomibon
