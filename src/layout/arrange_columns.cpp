#include "layout/arrange_columns.h"

#include <algorithm>
#include <climits>

#include "layout/arrange.h"
#include "layout/kinsoku.h"
#include "layout/txt_layout.h"
#include "platform/char_type.h"
#include "platform/utf16.h"
#include "text/char_sizes.h"

namespace Yomibon {

namespace {

constexpr std::u16string_view kOpen = u"⟨";
constexpr std::u16string_view kClose = u"⟩";

// Walks the characters of one column, measuring them as the arranger did.
class ColumnWalk {
  public:
    ColumnWalk(const CYbTxtBuffer& buffer, int line, const CYbKinsoku& kinsoku, int start,
               int limit)
        : buffer_(buffer),
          line_(line),
          kinsoku_(kinsoku),
          pos_(start),
          extent_(start),
          limit_(limit) {}

    void run(int32_t index, int32_t from, int32_t to, ColumnSummary& out) {
        const TextInfo& run = buffer_.lines()[size_t(line_)].runs[size_t(index)];
        std::u16string_view s = run.str;
        switch (run.textType) {
            case TT_TEXT:
            case TT_DASH:
            case TT_HANGING: {
                pos_ = std::max(pos_, extent_);
                int w = IsHalfWidthClass(run.chrType) ? 2 : 4;
                int32_t p = from;
                for (size_t i = CharOffset(s, size_t(from)); i < s.size() && p <= to;
                     i += UnitsAt(s, i), ++p) {
                    std::u16string one(s.substr(i, UnitsAt(s, i)));
                    if (run.textType == TT_HANGING) {
                        add(out, one, true);
                        continue;
                    }
                    auto it = buffer_.narrowMarks().find(TextPoint{line_, index, p});
                    int width = it == buffer_.narrowMarks().end()
                                    ? sized(w, buffer_.charSize(TextPoint{line_, index, p}))
                                    : CYbKinsoku::SetBits(uint8_t(it->second));
                    bool past = pos_ + width > limit_;
                    add(out, one, past);
                    // A space past the column end is dropped and takes no room.
                    if (!past || !kinsoku_.isSkip(CodePointAt(one, 0))) pos_ += width;
                }
                break;
            }
            case TT_AUTO_HORIZONTAL:
            case TT_HORIZONTAL:
            case TT_EXTERNAL_CHAR:
            case TT_REPEAT_MARK:
            case TT_VOICED_REPEAT_MARK: {
                pos_ = std::max(pos_, extent_);
                int width =
                    run.textType >= TT_REPEAT_MARK && run.textType <= TT_VOICED_REPEAT_MARK ? 8 : 4;
                if (run.textType == TT_EXTERNAL_CHAR && run.str.empty() &&
                    IsHalfWidthClass(run.chrType))
                    width = 2;
                std::u16string shown = run.textType == TT_EXTERNAL_CHAR        ? u"※"
                                       : run.textType == TT_REPEAT_MARK        ? u"〳〵"
                                       : run.textType == TT_VOICED_REPEAT_MARK ? u"〴〵"
                                                                               : run.str;
                add(out, shown, pos_ + width > limit_);
                pos_ += width;
                break;
            }
            case TT_PAREN_NOTE:
            case TT_LINE_RIGHT_SMALL:
            case TT_LINE_LEFT_SMALL:
            case TT_SUPERSCRIPT:
            case TT_SUBSCRIPT:
            case TT_CHAR_NOTE:
                extent_ = std::max(
                    extent_, pos_ + int(CharCount(s)) * (IsHalfWidthClass(run.chrType) ? 1 : 2));
                break;
            default:
                break;
        }
    }

    // A character off the body size, in quarters, sharing the quarter the sized character
    // before it left partly empty (as the arranger counts it).
    int sized(int w, int size) {
        if (size == kBodySize16) {
            slack_ = 0;
            return w;
        }
        const int exact = (w * size + 3) / 4 - slack_;
        const int quarters = std::max(1, (exact + 3) / 4);
        slack_ = quarters * 4 - exact;
        return quarters;
    }

    // A space left as the last character of a column that turned was dropped there.
    void markTrailingDrop() {
        size_t n = marks_.size();
        while (n > 0 && marks_[n - 1].wrapped)
            --n;
        if (n > 0 && kinsoku_.isSkip(CodePointAt(marks_[n - 1].text, 0)))
            marks_[n - 1].wrapped = true;
    }

    void finish(ColumnSummary& out) {
        out.end = std::max(pos_, extent_);
        out.text.clear();
        out.hanging = 0;
        for (const Mark& m : marks_) {
            if (m.wrapped) {
                if (!kinsoku_.isSkip(CodePointAt(m.text, 0))) ++out.hanging;
                out.text.append(kOpen).append(m.text).append(kClose);
            } else {
                out.text += m.text;
            }
        }
    }

  private:
    struct Mark {
        std::u16string text;
        bool wrapped;
    };
    void add(ColumnSummary&, const std::u16string& text, bool wrapped) {
        marks_.push_back({text, wrapped});
    }

    const CYbTxtBuffer& buffer_;
    int line_;
    const CYbKinsoku& kinsoku_;
    int pos_;
    int extent_;
    int limit_;
    int slack_ = 0;  // sixteenths the last sized character left empty
    std::vector<Mark> marks_;
};

}  // namespace

ColumnSummary SummarizeColumn(const CYbTxtBuffer& buffer, int line, size_t turn,
                              const std::vector<LayoutBox>& boxes, const CYbKinsoku& kinsoku) {
    ColumnSummary out;
    if (line < 0 || line >= buffer.lineCount() || boxes.empty()) return out;
    const LineInfo& info = buffer.lines()[size_t(line)];
    if (turn >= info.turns.size()) return out;
    const TextTurnPos& t = info.turns[turn];
    out.column = t.iColumn;
    out.box = ColumnToBox(t.iColumn, boxes);
    int boxCount = int(boxes.size());
    int index = out.box > 0 ? (out.box - 1) % boxCount : 0;
    out.page = out.box > 0 ? (out.box - 1) / std::max(1, boxCount / 2) : 0;
    out.capacity = std::max(1, boxes[size_t(index)].chars) * 4 + 2;
    int limit = out.capacity - (t.iBottom > 0 ? t.iBottom * 4 : 0);
    int start = (turn == 0 ? info.iIndent : info.iHangIndent) * 4;
    limit = std::max(limit, start + 4);
    RunPoint end{INT32_MAX, INT32_MAX};
    if (turn + 1 < info.turns.size()) {
        const TextTurnPos& next = info.turns[turn + 1];
        end = next.iPos > 0 ? RunPoint{next.iIndex, next.iPos - 1}
                            : RunPoint{next.iIndex - 1, INT32_MAX};
    }
    ColumnWalk walk(buffer, line, kinsoku, start, limit);
    for (int32_t r = std::max(0, t.iIndex); r < int32_t(info.runs.size()) && r <= end.iIndex; ++r) {
        int32_t from = r == t.iIndex ? t.iPos : 0;
        int32_t to = r == end.iIndex ? end.iPos : INT32_MAX;
        walk.run(r, from, to, out);
    }
    if (turn + 1 < info.turns.size()) walk.markTrailingDrop();
    walk.finish(out);
    return out;
}

}  // namespace Yomibon
