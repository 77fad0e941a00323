#pragma once
// Which drawing each kind of run gets, shared by every page device (the bitmap canvas and
// the PDF page), so that both always draw the same things in the same way.

#include <string_view>
#include <vector>

#include "layout/txt_mapper.h"
#include "text/text_buffer.h"

namespace Yomibon {

// The characters of a run, a surrogate pair taken whole.
std::vector<std::u16string_view> Characters(std::u16string_view s);

// The run's map entries cut into pieces of one column each (a piece ends where the next
// entry lies higher up or in another column); only entries on the spread.
std::vector<std::vector<PageMapEntry>> ColumnSegments(const CYbTxtMapper& mapper, int line,
                                                      int run);

// The map entry of a character when it lies on the spread (and has a size, when asked).
bool EntryOnSpread(const CYbTxtMapper& mapper, const TextPoint& key, PageMapEntry& entry,
                   bool needSize);

// Neighbouring dash runs of one column are drawn as one stroke: the first and the last
// entry of the stroke starting at `run`; `run` is moved to the last run joined.
bool DashStroke(const CYbTxtMapper& mapper, const std::vector<TextInfo>& runs, int line, int& run,
                PageMapEntry& first, PageMapEntry& last);

class CYbRunPainter {
  public:
    virtual ~CYbRunPainter() = default;

    // Draws every run of the line that has something to show.
    void drawLine(const std::vector<TextInfo>& runs, int line);

  protected:
    void drawRun(int line, int run, const TextInfo& info);

    virtual void drawChars(int line, int run, const TextInfo& info, int slot, int boldSlot,
                           bool offsets) = 0;
    virtual void drawExternal(int line, int run, const TextInfo& info) = 0;
    virtual void drawMarks(int line, int run, const TextInfo& info) = 0;
    virtual void drawSideLine(int line, int run, const TextInfo& info) = 0;
    virtual void drawNote(int line, int run, const TextInfo& info) = 0;
    virtual void drawBoxRun(int line, int run) = 0;
    virtual void drawRangeBox(int line, int run) = 0;
    virtual void drawRepeatMark(int line, int run, const TextInfo& info) = 0;
    // A dash may span several runs; `run` is moved past the last one drawn.
    virtual void drawDash(int line, int& run) = 0;
    virtual void drawLink(int line, int run, const TextInfo& info) = 0;
};

}  // namespace Yomibon
