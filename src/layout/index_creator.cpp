// Line arrangement: lines, control runs, columns and boxes.
#include "layout/index_creator.h"

#include <algorithm>

#include "platform/char_type.h"
#include "platform/utf16.h"
#include "settings/txt_param.h"

namespace Yomibon {

namespace {

// Runs after which a line that placed nothing takes no column of its own.
bool TakesNoColumn(int type) {
    return type == TT_INDENT_START || type == TT_INDENT_END || type == TT_BOTTOM_START ||
           type == TT_BOTTOM_END || type == TT_LIMIT_START;
}

// Runs that only steer the arrangement: a line of nothing else leaves its box "empty" for
// the purpose of breaks, so that a break after a picture line opens no blank page.
bool IsControlRun(int type) {
    return (type >= TT_LINE_INDENT && type <= TT_PICTURE_SPREAD) ||
           (type >= TT_NEXT_COLUMN && type <= TT_NEXT_LEAF) || type == TT_NEXT_SPREAD;
}

}  // namespace

CYbIndexCreator::CYbIndexCreator(CYbTxtBuffer& buffer, const std::vector<LayoutBox>& boxes,
                                 int32_t textSize, const CYbTxtParam& param)
    : buffer_(buffer), boxes_(boxes), kinsoku_(param), textSize_(textSize) {
    bool anyLines =
        std::any_of(boxes_.begin(), boxes_.end(), [](const LayoutBox& b) { return b.lines > 0; });
    // A layout without text columns still arranges, into one column per box.
    if (!anyLines) boxes_ = {LayoutBox{0, 0, 0, 0, 1, 40}};
    boxCount_ = int(boxes_.size());
    boxesPerPage_ = std::max(1, boxCount_ / 2);
    const LayoutBox& firstBox = boxes_.front();
    noHang_ = int64_t(firstBox.bottom) - firstBox.top < int64_t(firstBox.chars + 1) * textSize;
    int32_t num = 0;
    tateNakaNum_ = param.GetPoints(u"TateNakaNum", 1, &num) == 1 ? num : 2;
    strict_ = kinsoku_.strict();
    maxHanging_ = strict_ ? 1 : kMaxHanging;
    buffer_.narrowMarks().clear();
    buffer_.pictureBoxes().clear();
    buffer_.rubySpreads().clear();
    buffer_.wideColumns().clear();
    while (boxLines(curBox_) <= 0) {
        ++curBox_;
        ++boxSeq_;
    }
}

int CYbIndexCreator::boxLines(int box) const {
    return std::max(0, boxes_[size_t(box)].lines);
}

int CYbIndexCreator::capacity() const {
    return std::max(1, boxes_[size_t(curBox_)].chars) * 4 + kHalfCell;
}

void CYbIndexCreator::computeLimit() {
    int cap = capacity();
    limit_ = cap - bottomRaise_;
    if (lengthLimit_ > 0) {
        if (limit_ <= 0) limit_ = cap;
        limit_ = std::min(limit_, lengthLimit_ + colStart_);
    }
    // Every column keeps room for at least one cell after its indent.
    int floor = std::max({indent_, hangIndent_, colStart_});
    if (limit_ < floor + 4) limit_ = floor + 4;
}

void CYbIndexCreator::nextColumn() {
    leaveWideColumn();
    if (column_ + 1 < boxFirstCol_ + boxLines(curBox_))
        ++column_;
    else
        nextBox();
}

void CYbIndexCreator::leaveColumn() {
    const bool skip = leftRuby_ && column_ + 1 < boxFirstCol_ + boxLines(curBox_);
    leftRuby_ = false;
    nextColumn();
    if (skip) nextColumn();
}

void CYbIndexCreator::nextBox() {
    do {
        boxFirstCol_ += boxLines(curBox_);
        curBox_ = (curBox_ + 1) % boxCount_;
        ++boxSeq_;
    } while (boxLines(curBox_) <= 0 || reserved_.count(boxSeq_));
    column_ = boxFirstCol_;
    boxHolds_ = false;
}

void CYbIndexCreator::IndexLine(int line) {
    if (line < 0 || line >= buffer_.lineCount()) return;
    beginLine(line);
    for (int32_t i = 0; i < int32_t(info_->runs.size()); ++i)
        arrangeRun(i);
    endLine();
    finishColumns();
}

void CYbIndexCreator::beginLine(int line) {
    line_ = line;
    info_ = &buffer_.lines()[size_t(line)];
    indent_ = blockIndent_;
    hangIndent_ = blockHang_;
    bottomRaise_ = blockBottom_;
    aligned_ = blockAligned_;
    beganInComment_ = inComment_;
    breakPending_ = false;
    for (TextInfo& run : info_->runs)
        if (run.textType == TT_AUTO_HORIZONTAL || run.textType == TT_HANGING)
            run.textType = TT_TEXT;
    int cap = capacity();
    if (indent_ >= cap) indent_ = cap - 4;
    if (hangIndent_ >= cap) hangIndent_ = cap - 4;
    info_->iStartCol = column_;
    info_->iNextCol = -1;
    info_->iIndent = indent_ / 4;
    info_->iHangIndent = hangIndent_ / 4;
    info_->iBottom = aligned_ ? bottomRaise_ / 4 : -1;
    info_->turns.clear();
    columns_.clear();
    colStart_ = pos_ = extent_ = indent_;
    placed_ = 0;
    last_ = LastChar{};
    history_.clear();
    rubyEnd_ = INT64_MIN;
    leftRuby_ = false;
    numeralBits_ = 0;
    numeralRun_ = -1;
    auto sized = buffer_.sizes().lower_bound(TextPoint{line, 0, 0});
    lineSized_ = sized != buffer_.sizes().end() && sized->first.iLine == line;
    colWide_ = false;
    slackAt_ = RunPoint{-1, 0};
    computeLimit();
    info_->turns.push_back(TextTurnPos{0, 0, 0, 0, column_, info_->iBottom});
    columns_.push_back(ColumnInfo{limit_, colStart_, capacity(), lengthLimit_ > 0, false, 0});
}

void CYbIndexCreator::arrangeRun(int32_t index) {
    TextInfo& run = info_->runs[size_t(index)];
    if (inComment_ && run.textType != TT_COMMENT_END) {
        run.textType = TT_COMMENT;
        return;
    }
    switch (run.textType) {
        case TT_TEXT:
        case TT_DASH:
        case TT_HANGING:
            arrangeText(index, run);
            break;
        case TT_RUBY:
        case TT_LEFT_RUBY:
        case TT_SIC:
            fitRuby(index, run);
            break;
        case TT_PAREN_NOTE:
        case TT_LINE_RIGHT_SMALL:
        case TT_LINE_LEFT_SMALL:
        case TT_SUPERSCRIPT:
        case TT_SUBSCRIPT:
        case TT_CHAR_NOTE: {
            int w = IsHalfWidthClass(run.chrType) ? 1 : 2;
            extent_ = std::max(extent_, pos_ + int(CharCount(run.str)) * w);
            break;
        }
        case TT_EXTERNAL_CHAR:
            pos_ = std::max(pos_, extent_);
            // A described character is set like any ordinary full-width character.
            if (!run.str.empty())
                placeChar(index, 0, U'あ', 4, TT_EXTERNAL_CHAR);
            else
                placeCell(index, IsHalfWidthClass(run.chrType) ? 2 : 4, TT_EXTERNAL_CHAR);
            break;
        case TT_REPEAT_MARK:
        case TT_VOICED_REPEAT_MARK:
            placeCell(index, 8, run.textType);
            break;
        case TT_HORIZONTAL:
            placeCell(index, 4, TT_HORIZONTAL);
            break;
        default:
            arrangeControl(index, run);
            break;
    }
}

void CYbIndexCreator::arrangeControl(int32_t index, TextInfo& run) {
    switch (run.textType) {
        case TT_LINE_INDENT:
            setIndent(run.tpBegin.iIndex, run.tpEnd.iIndex, index + 1, true);
            break;
        case TT_INDENT_START:
            setIndent(run.tpBegin.iIndex, run.tpEnd.iIndex, index + 1, true);
            blockIndent_ = indent_;
            blockHang_ = hangIndent_;
            break;
        case TT_INDENT_END:
            blockIndent_ = blockHang_ = 0;
            setIndent(0, 0, index + 1, false);
            break;
        case TT_LINE_BOTTOM:
            setBottom(run.tpBegin.iIndex);
            break;
        case TT_BOTTOM_START:
            setBottom(run.tpBegin.iIndex);
            blockBottom_ = bottomRaise_;
            blockAligned_ = true;
            break;
        case TT_BOTTOM_END:
            blockBottom_ = 0;
            blockAligned_ = false;
            break;
        case TT_LIMIT_START:
            lengthLimit_ = std::max(0, run.tpBegin.iIndex) * 4;
            computeLimit();
            columns_.back().limit = limit_;
            columns_.back().limited = lengthLimit_ > 0;
            break;
        case TT_PICTURE:
            reservePicture(index, 1);
            break;
        case TT_PICTURE_PAGE:
            reservePicture(index, boxesPerPage_);
            break;
        case TT_PICTURE_SPREAD:
            reservePicture(index, boxCount_);
            break;
        case TT_NEXT_COLUMN:
        case TT_NEXT_PAGE:
        case TT_NEXT_LEAF:
        case TT_NEXT_SPREAD:
            breakTo(run.textType, index);
            break;
        case TT_COMMENT_BEGIN:
            inComment_ = true;
            break;
        case TT_COMMENT_END:
            inComment_ = false;
            break;
        default:
            break;  // headings, notes, marks, lines, bold, links, boxes: no room
    }
}

void CYbIndexCreator::setIndent(int32_t first, int32_t wrapped, int32_t nextRun, bool move) {
    int cap = capacity();
    auto clamp = [cap](int32_t cells) {
        int v = std::clamp(cells, 0, 100000) * 4;
        return v >= cap ? cap - 4 : v;
    };
    indent_ = clamp(first);
    hangIndent_ = clamp(wrapped);
    bool lineStart = info_->turns.size() == 1;
    if (placed_ > 0) {
        // The text after the annotation starts a column with the new indent.
        if (move) startColumn(nextRun, 0, true);
        return;
    }
    colStart_ = lineStart ? indent_ : hangIndent_;
    pos_ = extent_ = colStart_;
    computeLimit();
    columns_.back().start = colStart_;
    columns_.back().limit = limit_;
    if (lineStart) {
        info_->iIndent = indent_ / 4;
        info_->iHangIndent = hangIndent_ / 4;
    }
}

void CYbIndexCreator::setBottom(int32_t raise) {
    bottomRaise_ = std::clamp(raise, 0, 100000) * 4;
    aligned_ = true;
    computeLimit();
    columns_.back().limit = limit_;
    info_->iBottom = bottomRaise_ / 4;
    info_->turns.back().iBottom = info_->iBottom;
}

void CYbIndexCreator::startColumn(int32_t run, int32_t pos, bool byOverflow) {
    auto& turns = info_->turns;
    turns.back().iCount = placed_;
    turns.back().iLength = std::max(pos_, extent_) - colStart_;
    previous_ = BoxState{column_, curBox_,   boxFirstCol_, boxSeq_, boxHolds_, pos_,
                         extent_, colStart_, limit_,       placed_, last_,     rubyEnd_};
    int from = column_;
    leaveColumn();
    skipLastSlotFor(run, pos);
    int32_t bottom = aligned_ ? bottomRaise_ / 4 : -1;
    colStart_ = hangIndent_;
    pos_ = extent_ = colStart_;
    placed_ = 0;
    computeLimit();
    // Columns skipped for reserved boxes get empty turns, so that the turns of a line stay
    // one per column.
    for (int c = from + 1; c <= column_; ++c) {
        turns.push_back(TextTurnPos{run, pos, 0, 0, c, bottom});
        columns_.push_back(ColumnInfo{limit_, colStart_, capacity(), lengthLimit_ > 0,
                                      c == column_ && byOverflow, 0});
    }
    last_.inColumn = false;
    history_.clear();
    rubyEnd_ = INT64_MIN;
}

void CYbIndexCreator::breakTo(int type, int32_t index) {
    // A break where the box (for a page or leaf break: the page) holds nothing yet would
    // only open a blank page; the notation's manual asks readers to ignore it.
    bool empty = !boxHolds_ && placed_ == 0;
    bool begun = type == TT_NEXT_COLUMN   ? !empty
                 : type == TT_NEXT_SPREAD ? !empty || curBox_ != 0
                                          : !empty || !boxStartsPage();
    if (!begun) {
        breakPending_ = true;
        return;
    }
    auto& turns = info_->turns;
    turns.back().iCount = placed_;
    turns.back().iLength = std::max(pos_, extent_) - colStart_;
    if (colWide_) buffer_.wideColumns().insert(column_);  // its slot is left with the box
    colWide_ = false;
    int from = column_;
    leftRuby_ = false;
    nextBox();
    bool leaf = type == TT_NEXT_LEAF && boxCount_ >= 2;
    for (int guard = 0; guard < boxCount_; ++guard) {
        bool reached = type == TT_NEXT_COLUMN   ? true
                       : type == TT_NEXT_SPREAD ? curBox_ == 0
                       : leaf                   ? curBox_ == boxesPerPage_
                                                : boxStartsPage();
        if (reached) break;
        nextBox();
    }
    int to = column_;
    column_ = from;
    // Reuse the column bookkeeping: pads up to the box reached, the text after the break
    // starts its first column.
    int32_t bottom = aligned_ ? bottomRaise_ / 4 : -1;
    colStart_ = hangIndent_;
    pos_ = extent_ = colStart_;
    placed_ = 0;
    column_ = to;
    computeLimit();
    for (int c = from + 1; c <= to; ++c) {
        turns.push_back(TextTurnPos{index + 1, 0, 0, 0, c, bottom});
        columns_.push_back(ColumnInfo{limit_, colStart_, capacity(), lengthLimit_ > 0, false, 0});
    }
    last_.inColumn = false;
    history_.clear();
    rubyEnd_ = INT64_MIN;
    breakPending_ = true;
}

void CYbIndexCreator::endLine() {
    auto& turns = info_->turns;
    const auto& runs = info_->runs;
    int lastType = runs.empty() ? -1 : runs.back().textType;
    if (placed_ == 0 && turns.size() > 1) {
        // A trailing column that holds nothing is given back; the next line starts in it.
        turns.pop_back();
        columns_.pop_back();
        info_->iNextCol = column_;
    } else if (placed_ == 0 &&
               (TakesNoColumn(lastType) || beganInComment_ || breakPending_ || firstLine_)) {
        // The first line (line 0, always empty) only enters the first box: the text begins
        // in column 0.
        turns.back().iLength = 0;
        info_->iNextCol = column_;
    } else {
        bool control = !runs.empty() &&
                       std::all_of(runs.begin(), runs.end(),
                                   [](const TextInfo& r) { return IsControlRun(r.textType); });
        if (!control) boxHolds_ = true;
        turns.back().iLength = std::max(pos_, extent_) - colStart_;
        if (turns.back().iCount == 0) turns.back().iCount = -placed_;
        leaveColumn();
        info_->iNextCol = column_;
    }
    info_->iStartCol = turns.front().iColumn;
    firstLine_ = false;
    indent_ = blockIndent_;
    hangIndent_ = blockHang_;
    bottomRaise_ = blockBottom_;
    aligned_ = blockAligned_;
}

void CYbIndexCreator::finishColumns() {
    auto& turns = info_->turns;
    for (size_t k = 0; k < turns.size(); ++k) {
        const ColumnInfo& col = columns_[k];
        if (col.start + turns[k].iLength > col.limit) {
            TextPoint begin{line_, turns[k].iIndex, turns[k].iPos};
            TextPoint end{line_, INT32_MAX, INT32_MAX};
            if (k + 1 < turns.size()) {
                const TextTurnPos& next = turns[k + 1];
                end = next.iPos > 0 ? TextPoint{line_, next.iIndex, next.iPos - 1}
                                    : TextPoint{line_, next.iIndex - 1, INT32_MAX};
            }
            arrangeLine(turns[k], begin, end);
        }
        // Under a line-length limit the column is set solid, not spread to the box end.
        if (col.limited && turns[k].iCount != 0) turns[k].iLength = col.capacity;
    }
}

}  // namespace Yomibon
