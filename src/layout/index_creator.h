// Line arrangement: turns every buffer line into columns inside the text boxes of a layout,
// under the Japanese line-breaking rules, and numbers the columns of the whole document.
#pragma once

#include <climits>
#include <cstdint>
#include <set>
#include <vector>

#include "layout/kinsoku.h"
#include "layout/txt_layout.h"
#include "text/text_buffer.h"

namespace Yomibon {

class CYbTxtParam;

class CYbIndexCreator {
  public:
    // Quarters of room below a column's last cell (half a cell).
    static constexpr int kHalfCell = 2;
    // Most marks that hang below one column.
    static constexpr int kMaxHanging = 3;

    // Arranges into `boxes` (the layout's TextLayout boxes) with the lists, class map and
    // TateNakaNum of the settings; clears the narrow-mark and picture box maps.
    CYbIndexCreator(CYbTxtBuffer& buffer, const std::vector<LayoutBox>& boxes, int32_t textSize,
                    const CYbTxtParam& param);

    // Size of one ruby character in layout units (the layout's RubySize); 0 leaves ruby
    // out of the arrangement.
    void setRubySize(int32_t size) { rubySize_ = size; }

    // Arranges one buffer line; lines are given in order, from line 0.
    void IndexLine(int line);
    // Narrows the punctuation of one over-full column, from begin to end (both included).
    void arrangeLine(TextTurnPos& turn, const TextPoint& begin, const TextPoint& end);

    bool noHang() const { return noHang_; }
    int column() const { return column_; }
    const std::set<int32_t>& reservedBoxes() const { return reserved_; }

  private:
    // The last character placed (the "p" of the column-end rules).
    struct LastChar {
        bool valid = false;
        bool inColumn = false;
        bool narrowed = false;
        char32_t ch = 0;
        int width = 0;      // advance in the column, after narrowing
        int baseWidth = 0;  // advance at the start of a column
        int runType = 0;
        uint8_t code = 0;
        int32_t run = 0;
        int32_t pos = 0;
    };
    // What a column of the current line knows beyond its TextTurnPos.
    struct ColumnInfo {
        int limit = 0;
        int start = 0;
        int capacity = 0;
        bool limited = false;
        bool byOverflow = false;  // started because the text ran out of room
        int hanging = 0;
    };
    // The position when a column was left, so that the column can be taken back.
    struct BoxState {
        int column = 0;
        int curBox = 0;
        int boxFirstCol = 0;
        int boxSeq = 0;
        bool boxHolds = false;
        int pos = 0;
        int extent = 0;
        int colStart = 0;
        int limit = 0;
        int placed = 0;
        LastChar last;
        int64_t rubyEnd = INT64_MIN;  // end of the column's last reading, layout units
    };
    // A character placed in the current column with the state before it, so that the end
    // of the column can be taken back and set again at the top of the next one.
    struct Placed {
        int32_t run = 0;
        int32_t pos = 0;
        char32_t ch = 0;
        int baseWidth = 0;
        int runType = 0;
        int posBefore = 0;
        int extentBefore = 0;
        LastChar lastBefore;
        bool pulledPrevious = false;  // its pair narrowing also narrowed the mark before it
        bool hung = false;
        int extra = 0;           // quarters added after it to spread a ruby base
        int32_t spreadRun = -1;  // the ruby run of that spread
    };
    // The advance of a punctuation mark set after another one, and what the mark before it
    // gives back.
    struct Narrowing {
        int width = 0;
        int pull = 0;
        bool narrowed = false;
    };

    // Lines and runs.
    void beginLine(int line);
    void endLine();
    void arrangeRun(int32_t index);
    void arrangeControl(int32_t index, TextInfo& run);
    void finishColumns();

    // Columns and boxes.
    int boxLines(int box) const;
    int capacity() const;
    void computeLimit();
    void nextColumn();
    // Leaves the column after one with left-side ruby empty, so that the reading does not
    // meet the next column's right-side ruby; then moves on as nextColumn.
    void leaveColumn();
    void nextBox();
    bool boxStartsPage() const { return curBox_ % boxesPerPage_ == 0; }
    // Starts a new column of the current line whose first character is at (run, pos).
    void startColumn(int32_t run, int32_t pos, bool byOverflow);
    // Moves to a new box by a break; the text after the break starts it.
    void breakTo(int type, int32_t index);
    void setIndent(int32_t first, int32_t wrapped, int32_t nextRun, bool move);
    void setBottom(int32_t raise);

    // Text, character by character.
    void arrangeText(int32_t index, TextInfo& run);
    bool arrangeTateChuYoko(int32_t index, TextInfo& run);
    void placeCell(int32_t index, int width, int runType);
    void checkNumeralSeparator(int32_t index, const TextInfo& run);
    void placeChar(int32_t index, int32_t pos, char32_t ch, int width, int runType);
    Narrowing pairNarrowing(uint8_t code, int width) const;
    void commit(int32_t index, int32_t pos, uint8_t code, const Narrowing& n);
    void fitAtColumnEnd(int32_t index, int32_t pos, char32_t ch, int width, int runType,
                        uint8_t code, const Narrowing& n);
    void hang(int32_t index, int32_t pos, char32_t ch, int width, int runType, uint8_t code,
              const Narrowing& n);
    bool moveLastWith();
    bool moveTail(size_t first);
    void keepSpread(const Placed& moved, const Placed& head);
    void remember(int32_t index, int32_t pos, char32_t ch, int baseWidth, int runType,
                  const Narrowing& n, bool hung);
    // Strict mode: one hanging mark of the hanging list, otherwise the text is pushed out
    // to the last allowed break or the column's punctuation is narrowed to pull it in.
    bool fitStrict(int32_t index, int32_t pos, char32_t ch, int width, int runType, uint8_t code,
                   const Narrowing& n);
    // Moves the text after the last allowed break in the column on to the next column and
    // sets the character there after it; false when the column has no such break.
    bool pushOut(int32_t index, int32_t pos, char32_t ch, int width, int runType);
    // Moves the text after the column's last allowed break on to the next column.
    bool pushOutTail();
    // Whether the text after the space at (index, pos) begins with marks that may not
    // begin a column and could not hang below this one.
    bool unhangableAfterSkip(int32_t index, int32_t pos) const;
    bool breakAllowed(const Placed& before, const Placed& after) const;
    int forbiddenAhead(int32_t index, int32_t pos) const;
    int narrowingRoom() const;
    void record(int32_t index, int32_t pos, char32_t ch, int width, int baseWidth, int runType,
                uint8_t code, bool narrowed);
    bool dropAtColumnStart(int32_t index, int32_t pos, char32_t ch, TextInfo& run);
    bool pullBackAtColumnStart(int32_t index, int32_t pos, char32_t ch, int width);
    bool forbiddenStart(int32_t index, int32_t pos) const;

    // Type set larger or smaller than the body (index_creator_size.cpp).
    // The advance of a character at its size, in quarters: consecutive characters of one
    // size share the quarter the one before left partly empty, so that a run of them is
    // counted at its exact length (in sixteenths of a cell) rounded up once per column.
    int sizedWidth(int32_t index, int32_t pos, int width);
    // A column with larger type takes the column slot to its left as well; at the last slot
    // of a box the larger type begins the next box instead.
    void enterLarger(int32_t index, int32_t pos);
    void skipLastSlotFor(int32_t run, int32_t pos);
    // Larger type that a column end carried on to a new column widens that column too.
    void keepWide(int32_t index, int32_t pos);
    void leaveWideColumn();

    // Ruby fitting, pictures.
    void fitRuby(int32_t index, const TextInfo& run);
    void fitRubyTurn(const TextInfo& run);
    // Room for a reading longer than its base: what the neighbours allow it to cover, and
    // the base spread (1:2:1) by the rest.
    void reserveRuby(int32_t index, const TextInfo& run, bool retry);
    // The neighbour of a base character before or after it in the line: false when there is
    // none in the column; `c` is 0 for a neighbour that is no plain character.
    bool neighbour(const RunPoint& at, int step, RunPoint& where, char32_t& c) const;
    bool coveredByRuby(const RunPoint& at) const;
    // The ruby run whose base holds `at`, or -1.
    int32_t rubyOver(const RunPoint& at) const;
    // Whether a column end between `before` and `after` would split a ruby base whose
    // parts could not each hold their share of the reading.
    bool splitsCrowdedBase(const RunPoint& before, const RunPoint& after) const;
    // Whether the reading of a base whose last character would hang below the previous
    // column finds room there: before the base only over one kana without ruby, after it
    // none (the column ends with it); a spread of the base for the rest may not push the
    // hanging character wholly below the column's end.
    bool readingFitsHanging(const TextInfo& run, const RunPoint& first, const RunPoint& last,
                            const RunPoint& turn) const;
    // Whether the reading of a base split at `turn` can be shared so that each part holds
    // its share beside it, solid.
    bool sharesFit(const TextInfo& run, const RunPoint& first, const RunPoint& last,
                   const RunPoint& turn) const;
    void mergeIntoPrevious();
    void moveTurnTo(const RunPoint& base, const RunPoint& turn, int before, size_t prevTurn);
    void rememberMoved(const RunPoint& from, int width);
    size_t slotsAfterWide(size_t turn) const;
    // The character before `at` when it is in the end list and lies after the column start;
    // `at` otherwise.
    RunPoint endListBefore(const RunPoint& at, const RunPoint& columnStart) const;
    int charCount(const RunPoint& from, const RunPoint& to) const;
    int charWidth(const RunPoint& from, const RunPoint& to) const;
    // Length at the characters' own sizes, in sixteenths of a quarter of a body cell.
    int64_t charLength16(const RunPoint& from, const RunPoint& to, bool wholeQuarters) const;
    void reservePicture(int32_t index, int count);

    CYbTxtBuffer& buffer_;
    std::vector<LayoutBox> boxes_;
    int boxCount_ = 1;
    int boxesPerPage_ = 1;
    CYbKinsoku kinsoku_;
    int tateNakaNum_ = 3;
    int32_t textSize_ = 0;
    int32_t rubySize_ = 0;
    int64_t rubyEnd_ = INT64_MIN;  // end of the last ruby of the column, layout units
    bool leftRuby_ = false;        // the column carries ruby on its left
    bool noHang_ = false;
    bool strict_ = false;
    int maxHanging_ = kMaxHanging;

    // Box position.
    int curBox_ = 0;
    int boxFirstCol_ = 0;
    int boxSeq_ = 1;
    bool boxHolds_ = false;
    int column_ = 0;
    std::set<int32_t> reserved_;

    // Column position, in quarters.
    int pos_ = 0;
    int extent_ = 0;
    int colStart_ = 0;
    int limit_ = 0;
    int placed_ = 0;
    LastChar last_;
    std::vector<Placed> history_;
    int numeralBits_ = 0;
    int32_t numeralRun_ = -1;
    // Type sizes: the line holds characters off the body size; the current character is one;
    // the current column holds larger type; the sixteenths the sized character at `slackAt_`
    // left empty in its last quarter, usable by the next one while pos_ is `slackPos_`.
    bool lineSized_ = false;
    bool offBodySize_ = false;
    bool colWide_ = false;
    int slack16_ = 0;
    RunPoint slackAt_{-1, 0};
    int slackPos_ = -1;

    // Indents and limits, in quarters.
    int indent_ = 0;
    int hangIndent_ = 0;
    int bottomRaise_ = 0;
    bool aligned_ = false;
    int lengthLimit_ = 0;
    int blockIndent_ = 0;
    int blockHang_ = 0;
    int blockBottom_ = 0;
    bool blockAligned_ = false;
    bool inComment_ = false;

    // The line being arranged.
    int line_ = -1;
    LineInfo* info_ = nullptr;
    std::vector<ColumnInfo> columns_;
    BoxState previous_;
    bool beganInComment_ = false;
    bool breakPending_ = false;
    bool firstLine_ = true;
};

}  // namespace Yomibon
