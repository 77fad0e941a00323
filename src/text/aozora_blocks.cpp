// Block annotations: indents, bottom alignment, line-length limits, ruled boxes, breaks.
#include "platform/limits.h"
#include "platform/utf16.h"
#include "text/annotation_text.h"
#include "text/aozora_parser.h"

namespace Yomibon {
namespace {

// Past the nesting limit the oldest entry gives way, so the stack stays bounded and the
// innermost blocks still close in order. True when one gave way.
template <typename T>
bool PushBounded(std::vector<T>& stack, const T& value) {
    const bool full = stack.size() >= Limits::kMaxNestingDepth;
    if (full) stack.erase(stack.begin());
    stack.push_back(value);
    return full;
}

template <typename T>
void PopIfAny(std::vector<T>& stack) {
    if (!stack.empty()) stack.pop_back();
}

}  // namespace

std::u16string CYbAozoraTxtParser::getNotice() const {
    std::u16string notice;
    if (nestingCut_)
        notice = u"罫囲みの入れ子が深すぎます（上限 " +
                 FromUtf8(std::to_string(Limits::kMaxNestingDepth)) +
                 u" 段）。それより深い罫囲みは反映せずに表示します。";
    if (runsCut_) {
        if (!notice.empty()) notice += u"\n";
        notice += u"文字の種類の切り替わりや注記がきわめて多いテキストのため、区切りが " +
                  FromUtf8(std::to_string(maxRuns_)) +
                  u" 個に達した所までを表示します。それより後は読み込んでいません。";
    }
    return notice;
}

void CYbAozoraTxtParser::actIndent(int type, std::u16string_view x) {
    int32_t first, wrapped;
    if (type == TT_LINE_INDENT_HANG || type == TT_INDENT_HANG_START) {
        wrapped = AnnotationNumber(x);
        // "天付き、折り返してn字下げ": the first line stays at the top, only the wrapped
        // lines go down by n.
        first = matchedOpen_.find(u"天付き") != std::u16string_view::npos ? 0 : wrapped;
        type = type == TT_LINE_INDENT_HANG ? TT_LINE_INDENT : TT_INDENT_START;
    } else {
        size_t fold = x.find(u"折り返して");
        if (fold == std::u16string_view::npos) {
            first = wrapped = AnnotationNumber(x);
        } else {
            first = AnnotationNumber(x.substr(0, fold));
            wrapped = AnnotationNumber(x.substr(fold + 5));
        }
    }
    openIndent(type, first, wrapped);
}

// In the notation a block opener replaces the block in force and one closer ends it: the
// stacks hold the block and, above it, the one-line form of the current line.
void CYbAozoraTxtParser::openIndent(int type, int32_t first, int32_t wrapped) {
    if (oneLineIndent_) PopIfAny(indents_);
    oneLineIndent_ = false;
    if (!indents_.empty()) {
        // The enclosing indent ends for the typesetter before this line.
        LineInfo end;
        end.runs.push_back(TextInfo{u"", 0xFFFF, {0, 0}, {0, -1}, TT_INDENT_END});
        buffer_->addLine(std::move(end));
    }
    if (type == TT_INDENT_START) {
        indents_.clear();
        endIndentLimit();
    }
    if (PushBounded(indents_, IndentPair{first, wrapped})) nestingCut_ = true;
    oneLineIndent_ = type == TT_LINE_INDENT;
    appendRun(type, u"", 0xFFFF, {first, 0}, {wrapped, -1});
}

void CYbAozoraTxtParser::actIndentEnd() {
    oneLineIndent_ = false;
    indents_.clear();
    appendRun(TT_INDENT_END, u"", 0xFFFF, {0, 0}, {0, -1});
    endIndentLimit();
}

// The line length that came with an indent block ends with it.
void CYbAozoraTxtParser::endIndentLimit() {
    if (!limitEndsWithIndent_) return;
    limitEndsWithIndent_ = false;
    limits_.clear();
    appendRun(TT_LIMIT_START, u"", 0xFFFF, {0, 0}, {0, -1});
}

void CYbAozoraTxtParser::actBottom(int type, std::u16string_view x) {
    openBottom(type, AnnotationNumber(x));
}

void CYbAozoraTxtParser::openBottom(int type, int32_t raise) {
    if (oneLineBottom_) PopIfAny(bottoms_);
    oneLineBottom_ = false;
    if (!bottoms_.empty()) {
        LineInfo end;
        end.runs.push_back(TextInfo{u"", 0xFFFF, {0, 0}, {0, -1}, TT_BOTTOM_END});
        buffer_->addLine(std::move(end));
    }
    if (type == TT_BOTTOM_START) bottoms_.clear();
    if (PushBounded(bottoms_, IndentPair{raise, raise})) nestingCut_ = true;
    oneLineBottom_ = type == TT_LINE_BOTTOM;
    appendRun(type, u"", 0xFFFF, {raise, 0}, {raise, -1});
}

void CYbAozoraTxtParser::actBottomEnd() {
    oneLineBottom_ = false;
    bottoms_.clear();
    appendRun(TT_BOTTOM_END, u"", 0xFFFF, {0, 0}, {0, -1});
}

// A limit opener replaces the limit in force; the closer ends it. An opener may begin with
// an indent ("ここから３字下げ、折り返して７字下げ、２８字詰め"): the indent block opens
// first, and the line length then lasts as long as that block.
void CYbAozoraTxtParser::actLimit(int type, std::u16string_view x) {
    const size_t comma = x.rfind(u'、');
    const bool withIndent = type == TT_LIMIT_START && comma != std::u16string_view::npos &&
                            x.substr(0, comma).find(u"字下げ") != std::u16string_view::npos;
    if (withIndent) {
        actIndent(TT_INDENT_START, x.substr(0, comma));
        x = x.substr(comma + 1);
    }
    limitEndsWithIndent_ = withIndent;
    limits_.clear();
    int32_t n = type == TT_LIMIT_START ? AnnotationNumber(x) : 0;
    if (n > 0) limits_.push_back(n);
    appendRun(TT_LIMIT_START, u"", 0xFFFF, {n, 0}, {0, -1});
}

void CYbAozoraTxtParser::actBoxStart() {
    // Each open box adds runs to every following line, so the depth is bounded.
    if (boxes_.size() >= Limits::kMaxNestingDepth) {
        nestingCut_ = true;
        return;
    }
    int32_t indent = indents_.empty() ? 0 : indents_.back().first;
    int32_t bottom = bottoms_.empty() ? 0 : bottoms_.back().first;
    boxes_.push_back({indent, bottom});
    ++slots_[TT_BOX_START].count;
    appendRun(TT_BOX_START, u"罫囲み", uint16_t(boxes_.size()), {indent, bottom}, {0, 0});
}

void CYbAozoraTxtParser::actBreak(int type) {
    if (type == TT_NEXT_LINE) {
        // The line ends here for the typesetter: open ranges are cut as at a line end.
        cutOpenRanges();
        return flushRunsAsLine();
    }
    if (runs_.empty()) return appendRun(type, u"", 0xFFFF, {0, 0}, {0, -1});
    cutOpenRanges();
    flushRunsAsLine();
    appendRun(type, u"", 0xFFFF, {0, 0}, {0, -1});
    flushRunsAsLine();
}

}  // namespace Yomibon
