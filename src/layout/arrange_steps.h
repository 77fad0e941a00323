// An arrangement made a piece at a time: the lines are set in order by one line arranger that
// lives from the first piece to the last, so the pieces together set every line exactly as
// one pass would. The reader shows the first spread from the first piece and sets the rest
// while the window waits for input.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>

#include "text/text_buffer.h"

namespace Yomibon {

class CYbIndexCreator;
class CYbTxtLayout;
class CYbTxtParam;

class CYbArrangeSteps {
  public:
    // Starts the arrangement of `buffer` in the text boxes of `layout` (as ArrangeDocument
    // does); nothing is set until a step is taken. Buffer, layout and settings must stay
    // unchanged until the last step.
    CYbArrangeSteps(CYbTxtBuffer& buffer, const CYbTxtLayout& layout, const CYbTxtParam& param);
    ~CYbArrangeSteps();
    CYbArrangeSteps(const CYbArrangeSteps&) = delete;
    CYbArrangeSteps& operator=(const CYbArrangeSteps&) = delete;

    // Sets lines until line `line` is set (or the text ends).
    void throughLine(int line);
    // Sets lines until every column before `column` is filled (or the text ends).
    void throughColumn(int column);
    // Sets lines for about `budget`; at least one line when any is left.
    void forAbout(std::chrono::microseconds budget);
    void finish();

    bool done() const { return next_ >= buffer_.lineCount(); }
    // The UTF-16 units of the runs of the lines not yet set, counted up to `cap`.
    size_t unitsLeft(size_t cap) const;
    // The first line not yet set.
    int nextLine() const { return next_; }
    // The first column no set line reaches.
    int frontier() const;
    int columnsPerSpread() const { return columnsPerSpread_; }
    // The last page number of the text set so far (the whole text's once done), as
    // ArrangeDocument returns it.
    int lastPage() const;

  private:
    void setLine();
    // Lines not yet set stand at the frontier with no columns, so that the buffer's column
    // look-ups and the page count see only what is set.
    void parkRest();

    CYbTxtBuffer& buffer_;
    std::unique_ptr<CYbIndexCreator> creator_;
    int next_ = 0;
    int columnsPerSpread_ = 1;
    int boxCount_ = 1;
};

}  // namespace Yomibon
