// The parsed form of a document: lines of typed text runs, and the walks over them.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "text/run_text.h"
#include "text/text_types.h"

namespace Yomibon {

// A position in the buffer: line, run within the line, character within the run.
struct TextPoint {
    int32_t iLine = -1;
    int32_t iIndex = 0;
    int32_t iPos = 0;
    auto operator<=>(const TextPoint&) const = default;
};

// A place within one line: run index and character index (also used for parameters).
struct RunPoint {
    int32_t iIndex = 0;
    int32_t iPos = 0;
    auto operator<=>(const RunPoint&) const = default;
};

// One column of a buffer line, written by line arrangement.
struct TextTurnPos {
    int32_t iIndex = 0;
    int32_t iPos = 0;
    int32_t iCount = 0;
    int32_t iLength = 0;
    int32_t iColumn = 0;
    int32_t iBottom = -1;
};

// One run. Once its line is stored in a buffer, its text is a view of the line's characters.
// 32 bytes, the two codes side by side: a novel holds hundreds of thousands of runs.
struct TextInfo {
    TextInfo() = default;
    // In the order runs are written out: text, class, begin, end, type.
    TextInfo(CYbRunText text, int cls = 0xFFFF, RunPoint begin = {0, 0}, RunPoint end = {0, -1},
             int type = TT_TEXT)
        : str(std::move(text)),
          chrType(uint16_t(cls)),
          textType(int16_t(type)),
          tpBegin(begin),
          tpEnd(end) {}

    CYbRunText str;
    uint16_t chrType = 0xFFFF;
    int16_t textType = TT_TEXT;  // a TextType code (all below TT_MAX)
    RunPoint tpBegin{0, 0};
    RunPoint tpEnd{0, -1};
};

// One line.
struct LineInfo {
    int32_t iStartCol = 0;
    int32_t iNextCol = 0;
    int32_t iIndent = 0;
    int32_t iHangIndent = 0;
    int32_t iBottom = 0;
    std::vector<TextInfo> runs;
    std::vector<TextTurnPos> turns;
    // The characters of the runs, each followed by a zero, shared by copies of the line so
    // that the runs' views stay valid whichever copy outlives the others.
    std::shared_ptr<const char16_t[]> chars;

    // Gathers the runs' characters into one allocation of the line's and makes each run a
    // view of its part: a run then costs its fixed size, not a string of its own.
    void pack();
};

class CYbTxtBuffer {
  public:
    // Visits characters of the runs whose type it accepts.
    class CYbCharFunc {
      public:
        virtual bool isValid(int textType) = 0;
        virtual bool setChar(const TextPoint& point) = 0;

      protected:
        ~CYbCharFunc() = default;
    };

    // Visits runs whose type it accepts.
    class CYbTypeFunc {
      public:
        virtual bool isValid(int textType) = 0;
        virtual bool setType(const TextPoint& point, TextInfo& run) = 0;

      protected:
        ~CYbTypeFunc() = default;
    };

    using BoldMap = std::map<TextPoint, uint8_t>;
    using NarrowMap = std::map<TextPoint, int32_t>;
    using PictureBoxMap = std::map<TextPoint, std::pair<int32_t, int32_t>>;
    // Quarters of a cell added around the base of a ruby run (keyed by the run's first
    // character) so that a reading longer than its base has room beside it.
    using RubySpreadMap = std::map<TextPoint, int32_t>;
    // Size of a plain character set larger or smaller than the body, in sixteenths of the
    // body size (headings, "大きな文字", "小さな文字"); characters at body size have no entry.
    using SizeMap = std::map<TextPoint, uint8_t>;

    virtual ~CYbTxtBuffer() = default;

    void clear();
    // Exchanges the whole contents (lines, maps and strings) with another buffer.
    void swap(CYbTxtBuffer& other) noexcept;
    // Stores a line, its runs' characters gathered into one allocation (LineInfo::pack).
    void addLine(LineInfo line) {
        line.pack();
        lines_.push_back(std::move(line));
    }

    void forEachAll(CYbTypeFunc& func);
    void forEachAll(CYbCharFunc& func) const;
    void forEach(const TextPoint& begin, const TextPoint& end, CYbCharFunc& func) const;

    // The character at a point; 0 when the point is outside the buffer.
    char32_t charAt(const TextPoint& point) const;
    void getText(std::u16string& out, const TextPoint& begin, const TextPoint& end,
                 int limit) const;
    bool isBold(const TextPoint& point) const;
    // The size of a character in sixteenths of the body size (16 for body text).
    int charSize(const TextPoint& point) const;
    // The line holding a global column; -1 when none does.
    int findLineOfColumn(int column) const;
    bool columnToPoint(int column, TextPoint& out) const;

    const std::u16string& getTitle() const { return title_; }
    const std::u16string& getAuthor() const { return author_; }
    const std::u16string& getInfo() const { return info_; }
    void setTitle(std::u16string s) { title_ = std::move(s); }
    void setAuthor(std::u16string s) { author_ = std::move(s); }
    void setInfo(std::u16string s) { info_ = std::move(s); }
    // What the reader should be told about the text as read (the parser's notice).
    const std::u16string& getNotice() const { return notice_; }
    void setNotice(std::u16string s) { notice_ = std::move(s); }

    std::vector<LineInfo>& lines() { return lines_; }
    const std::vector<LineInfo>& lines() const { return lines_; }
    int lineCount() const { return int(lines_.size()); }
    BoldMap& boldSet() { return bold_; }
    const BoldMap& boldSet() const { return bold_; }
    NarrowMap& narrowMarks() { return narrow_; }
    const NarrowMap& narrowMarks() const { return narrow_; }
    PictureBoxMap& pictureBoxes() { return pictures_; }
    const PictureBoxMap& pictureBoxes() const { return pictures_; }
    RubySpreadMap& rubySpreads() { return spreads_; }
    const RubySpreadMap& rubySpreads() const { return spreads_; }
    SizeMap& sizes() { return sizes_; }
    const SizeMap& sizes() const { return sizes_; }
    // Columns holding larger type: each takes the column slot to its left as well.
    std::set<int32_t>& wideColumns() { return wide_; }
    const std::set<int32_t>& wideColumns() const { return wide_; }

  private:
    std::vector<LineInfo> lines_;
    BoldMap bold_;
    NarrowMap narrow_;
    PictureBoxMap pictures_;
    RubySpreadMap spreads_;
    SizeMap sizes_;
    std::set<int32_t> wide_;
    std::u16string title_;
    std::u16string author_;
    std::u16string info_;
    std::u16string notice_;
};

// Collects plain text (types 0 and 83) between two points; see CYbTxtBuffer::getText.
class TextOnly : public CYbTxtBuffer::CYbCharFunc {
  public:
    TextOnly(const CYbTxtBuffer& buffer, std::u16string& out, int limit);
    ~TextOnly();
    bool isValid(int textType) override;
    bool setChar(const TextPoint& point) override;

  private:
    void flush();
    const CYbTxtBuffer& buffer_;
    std::u16string& out_;
    int limit_;
    TextPoint segBegin_;
    TextPoint segEnd_;
    bool open_ = false;
    bool stopped_ = false;
};

// Counts characters (types 0 and 60); on destruction writes the most frequent ones.
class HitMap : public CYbTxtBuffer::CYbCharFunc {
  public:
    HitMap(const CYbTxtBuffer& buffer, std::u16string& out, size_t count);
    ~HitMap();
    bool isValid(int textType) override;
    bool setChar(const TextPoint& point) override;

  private:
    const CYbTxtBuffer& buffer_;
    std::u16string& out_;
    size_t count_;
    std::map<char32_t, size_t> hits_;
};

// Steps n plain characters on from a point, leaving the point reached in `out`.
class NextPosFunc : public CYbTxtBuffer::CYbCharFunc {
  public:
    NextPosFunc(int count, TextPoint& out) : remaining_(count), out_(out) {}
    bool isValid(int textType) override { return textType == TT_TEXT; }
    bool setChar(const TextPoint& point) override;

  private:
    int remaining_;
    TextPoint& out_;
};

// Sets the bold flag of each visited plain character.
class BoldSet : public CYbTxtBuffer::CYbCharFunc {
  public:
    explicit BoldSet(CYbTxtBuffer& buffer) : buffer_(buffer) {}
    bool isValid(int textType) override { return textType == TT_TEXT; }
    bool setChar(const TextPoint& point) override;

  private:
    CYbTxtBuffer& buffer_;
};

// Marks bold ranges from the bold runs (69 range, 70 start, 71 end).
class BoldType : public CYbTxtBuffer::CYbTypeFunc {
  public:
    explicit BoldType(CYbTxtBuffer& buffer) : buffer_(buffer) {}
    bool isValid(int textType) override;
    bool setType(const TextPoint& point, TextInfo& run) override;

  private:
    void mark(const TextPoint& begin, const TextPoint& end);
    CYbTxtBuffer& buffer_;
    TextPoint start_{-1, 0, 0};
};

// Runs bold marking over the whole buffer.
void MarkBold(CYbTxtBuffer& buffer);

}  // namespace Yomibon
