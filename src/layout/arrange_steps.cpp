#include "layout/arrange_steps.h"

#include <algorithm>

#include "layout/arrange.h"
#include "layout/index_creator.h"
#include "layout/txt_layout.h"

namespace Yomibon {

CYbArrangeSteps::CYbArrangeSteps(CYbTxtBuffer& buffer, const CYbTxtLayout& layout,
                                 const CYbTxtParam& param)
    : buffer_(buffer) {
    const auto& boxes = layout.GetBoxes(TextLayout);
    creator_ =
        std::make_unique<CYbIndexCreator>(buffer, boxes, layout.GetSize(TextSize).size, param);
    creator_->setRubySize(layout.GetSize(RubySize).size);
    int columns = 0;
    for (const LayoutBox& box : boxes)
        columns += std::max(0, box.lines);
    // As ArrangeDocument: one column per box when the boxes hold none.
    columnsPerSpread_ = columns > 0 ? columns : std::max<int>(1, int(boxes.size()));
    boxCount_ = std::max<int>(1, int(boxes.size()));
    parkRest();
}

CYbArrangeSteps::~CYbArrangeSteps() = default;

void CYbArrangeSteps::setLine() {
    creator_->IndexLine(next_);
    ++next_;
}

void CYbArrangeSteps::throughLine(int line) {
    if (done() || line < next_) return;
    while (!done() && next_ <= line)
        setLine();
    parkRest();
}

void CYbArrangeSteps::throughColumn(int column) {
    if (done() || frontier() >= column) return;
    while (!done() && frontier() < column)
        setLine();
    parkRest();
}

void CYbArrangeSteps::forAbout(std::chrono::microseconds budget) {
    if (done()) return;
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + budget;
    // The clock is read every few lines: a line takes microseconds.
    constexpr int kLinesPerLook = 16;
    do {
        for (int i = 0; i < kLinesPerLook && !done(); ++i)
            setLine();
    } while (!done() && Clock::now() < end);
    parkRest();
}

void CYbArrangeSteps::finish() {
    while (!done())
        setLine();
}

size_t CYbArrangeSteps::unitsLeft(size_t cap) const {
    size_t units = 0;
    const auto& lines = buffer_.lines();
    for (size_t l = size_t(next_); l < lines.size() && units < cap; ++l)
        for (const TextInfo& run : lines[l].runs)
            units += run.str.size();
    return std::min(units, cap);
}

int CYbArrangeSteps::frontier() const {
    return next_ == 0 ? 0 : buffer_.lines()[size_t(next_ - 1)].iNextCol;
}

int CYbArrangeSteps::lastPage() const {
    return LastPageNumber(buffer_, columnsPerSpread_, boxCount_);
}

void CYbArrangeSteps::parkRest() {
    const int at = frontier();
    auto& lines = buffer_.lines();
    for (size_t l = size_t(next_); l < lines.size(); ++l) {
        lines[l].iStartCol = lines[l].iNextCol = at;
        lines[l].turns.clear();
    }
}

}  // namespace Yomibon
