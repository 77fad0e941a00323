#include "text/outline.h"

#include "platform/utf16.h"
#include "text/annotation_table.h"
#include "text/title_info.h"

namespace Yomibon {

bool CYbTxtOutLinerFunc::isValid(int textType) {
    return textType == TT_TEXT || (textType >= TT_COMMENT_BEGIN && textType <= TT_COMMENT_END);
}

bool CYbTxtOutLinerFunc::setType(const TextPoint& point, TextInfo& run) {
    if (run.textType == TT_COMMENT_BEGIN)
        inComment_ = true;
    else if (run.textType == TT_COMMENT_END)
        inComment_ = false;
    if (run.textType != TT_TEXT || point.iIndex != 0 || inComment_) return true;
    int32_t dots = 0;
    while (size_t(dots) < run.str.size() && run.str[size_t(dots)] == u'.')
        ++dots;
    if (dots == 0) return true;
    OutlineEntry entry{point, {point.iLine, 0, dots}, {}, dots};
    buffer_.getText(entry.text, {point.iLine, 0, dots}, LineEnd(point.iLine), 0);
    outline_.push_back(std::move(entry));
    return true;
}

void CYbTxtOutLinerFunc::clean(OutlineEntry& entry) {
    int32_t line = entry.begin.iLine;
    int32_t c = entry.level;
    auto& runs = buffer_.lines()[size_t(line)].runs;
    if (runs.empty()) return;
    CYbRunText& first = runs[0].str;
    first.removePrefix(CharOffset(first, size_t(c)));
    auto shift = [c](RunPoint& p) {
        if (p.iIndex != 0) return;
        if (p.iPos >= c)
            p.iPos -= c;
        else
            p = {1, 0};
    };
    for (size_t r = 1; r < runs.size(); ++r) {
        if (!RunHoldsPoints(runs[r].textType)) continue;
        shift(runs[r].tpBegin);
        shift(runs[r].tpEnd);
    }
    entry.end = {line + 1, -1, -1};
}

CYbTxtOutLinerFunc::~CYbTxtOutLinerFunc() {
    for (size_t i = first_; i < outline_.size(); ++i)
        clean(outline_[i]);
}

bool CYbTxtSubtileFunc::isValid(int textType) {
    return textType >= TT_HEADING_LARGE && textType <= TT_HEADING_SMALL;
}

bool CYbTxtSubtileFunc::setType(const TextPoint& point, TextInfo& run) {
    OutlineEntry entry;
    entry.level = run.textType - TT_HEADING_LARGE + 1;
    entry.begin = {point.iLine, run.tpBegin.iIndex, run.tpBegin.iPos};
    entry.end = {point.iLine, run.tpEnd.iIndex, run.tpEnd.iPos >= 0 ? run.tpEnd.iPos + 1 : -1};
    // The text runs through the heading's last character, not the one after it.
    TextPoint last{point.iLine, run.tpEnd.iIndex, run.tpEnd.iPos >= 0 ? run.tpEnd.iPos : INT32_MAX};
    buffer_.getText(entry.text, entry.begin, last, 0);
    outline_.push_back(std::move(entry));
    return true;
}

}  // namespace Yomibon
