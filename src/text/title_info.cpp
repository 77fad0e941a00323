#include "text/title_info.h"

#include <climits>

#include "platform/utf16.h"

namespace Yomibon {
namespace {

constexpr int32_t kMaxHeadLines = 6;
constexpr size_t kMaxTitleChars = 500;

bool IsBlankLine(const LineInfo& line) {
    return line.runs.empty() || line.runs[0].str.empty();
}

TextInfo MarkRun(int type) {
    return TextInfo{u"", 0xFFFF, {0, 0}, {0, -1}, type};
}

// The texts of the comment-block runs of lines 0..last, one "\r\n" per line step.
std::u16string CommentText(const CYbTxtBuffer& buffer, int32_t last) {
    std::u16string out;
    int32_t previous = -1;
    for (int32_t l = 0; l <= last && l < buffer.lineCount(); ++l)
        for (const TextInfo& run : buffer.lines()[size_t(l)].runs) {
            if (run.textType < TT_COMMENT_BEGIN || run.textType > TT_COMMENT_END) continue;
            if (run.str.empty()) continue;
            for (int32_t k = previous; previous >= 0 && k < l; ++k)
                out += u"\r\n";
            out += run.str;
            previous = l;
        }
    return out;
}

}  // namespace

bool TitleType::isValid(int textType) {
    return textType == TT_TEXT || textType == TT_COMMENT_BEGIN;
}

bool TitleType::setType(const TextPoint& point, TextInfo& run) {
    if (run.textType == TT_COMMENT_BEGIN) return false;
    if (point.iLine == 0 || !run.str.empty()) {
        last_ = point;
        return point.iLine <= kMaxHeadLines;
    }
    return false;
}

int32_t TitleType::headEnd() const {
    const auto& lines = buffer_.lines();
    int32_t h = last_.iLine;
    int32_t e = h, o = h + 1;
    auto exists = [&](int32_t l) { return l >= 0 && l < int32_t(lines.size()); };
    if (exists(o) && IsBlankLine(lines[size_t(o)])) e = o++;
    if (exists(o) && !lines[size_t(o)].runs.empty() &&
        lines[size_t(o)].runs[0].textType == TT_COMMENT_BEGIN) {
        auto closes = [&](int32_t l) {
            return !lines[size_t(l)].runs.empty() &&
                   lines[size_t(l)].runs[0].textType == TT_COMMENT_END;
        };
        while (o + 1 < int32_t(lines.size()) && !closes(o))
            ++o;
        e = o;
        if (exists(o + 1) && IsBlankLine(lines[size_t(o + 1)])) e = o + 1;
    }
    return e;
}

TitleType::~TitleType() {
    auto& lines = buffer_.lines();
    if (lines.empty()) return;
    int32_t h = last_.iLine;
    if (h <= 0 || h > kMaxHeadLines) {
        lines[0].runs.push_back(MarkRun(TT_NEXT_PAGE));
        return;
    }
    int32_t n = h;
    std::u16string text;
    while (n > 1) {
        buffer_.getText(text, {n, 0, 0}, LineEnd(n), 0);
        if (text.empty() || text.back() != u'訳') break;
        --n;
    }
    buffer_.getText(title_, {0, 0, 0}, LineEnd(n - 1), 0);
    buffer_.getText(author_, {n, 0, 0}, LineEnd(h), 0);
    if (CharCount(title_) > kMaxTitleChars || CharCount(author_) > kMaxTitleChars) return;
    lines[0].runs.push_back(MarkRun(TT_BOLD_START));
    lines[size_t(n - 1)].runs.push_back(MarkRun(TT_BOLD_END));
    int32_t e = headEnd();
    info_ = title_ + u"\r\n" + author_ + u"\r\n" + CommentText(buffer_, e);
    lines[size_t(e)].runs.push_back(MarkRun(TT_NEXT_PAGE));
}

bool InfoType::setType(const TextPoint& point, TextInfo&) {
    mark_ = point;
    return false;
}

InfoType::~InfoType() {
    if (mark_.iLine <= 0) return;
    std::u16string tail;
    buffer_.getText(tail, mark_, LineEnd(INT32_MAX - 1), 0);
    info_ += u"\r\n" + tail;
    buffer_.lines()[size_t(mark_.iLine)].runs.push_back(MarkRun(TT_COMMENT_BEGIN));
}

}  // namespace Yomibon
