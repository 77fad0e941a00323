#include "render/run_painter.h"

#include "platform/utf16.h"
#include "render/txt_renderer_mgr.h"

namespace Yomibon {

namespace {

bool IsEmphasis(int t) {
    return (t >= 2 && t <= 9) || (t >= 17 && t <= 24);
}
bool IsSideLine(int t) {
    return (t >= 10 && t <= 16) || (t >= 25 && t <= 29);
}

}  // namespace

std::vector<std::u16string_view> Characters(std::u16string_view s) {
    std::vector<std::u16string_view> out;
    for (size_t i = 0; i < s.size(); i += UnitsAt(s, i))
        out.push_back(s.substr(i, UnitsAt(s, i)));
    return out;
}

std::vector<std::vector<PageMapEntry>> ColumnSegments(const CYbTxtMapper& mapper, int line,
                                                      int run) {
    std::vector<std::vector<PageMapEntry>> segments;
    for (int k = 0;; ++k) {
        auto it = mapper.charMap().find({line, run, k});
        if (it == mapper.charMap().end()) break;
        const PageMapEntry& e = it->second;
        if (!mapper.inSpread(e.iColumn)) continue;
        if (segments.empty() || segments.back().back().iColumn != e.iColumn ||
            e.inkY < segments.back().front().inkY)
            segments.emplace_back();
        segments.back().push_back(e);
    }
    return segments;
}

bool EntryOnSpread(const CYbTxtMapper& mapper, const TextPoint& key, PageMapEntry& entry,
                   bool needSize) {
    auto it = mapper.charMap().find(key);
    if (it == mapper.charMap().end() || !mapper.inSpread(it->second.iColumn)) return false;
    if (needSize && it->second.size <= 0) return false;
    entry = it->second;
    return true;
}

bool DashStroke(const CYbTxtMapper& mapper, const std::vector<TextInfo>& runs, int line, int& run,
                PageMapEntry& first, PageMapEntry& last) {
    if (!EntryOnSpread(mapper, {line, run, 0}, first, true)) return false;
    const TextInfo& info = runs[size_t(run)];
    last = first;
    while (run + 1 < int(runs.size()) && runs[size_t(run + 1)].textType == TT_DASH &&
           runs[size_t(run + 1)].str == info.str) {
        PageMapEntry next;
        if (!EntryOnSpread(mapper, {line, run + 1, 0}, next, true) || next.inkX != first.inkX ||
            next.iColumn != first.iColumn)
            break;
        last = next;
        ++run;
    }
    return true;
}

void CYbRunPainter::drawLine(const std::vector<TextInfo>& runs, int line) {
    for (int run = 0; run < int(runs.size()); ++run) {
        const TextInfo& info = runs[size_t(run)];
        if (info.str.empty() && info.textType != TT_BOX_START && info.textType != TT_BOX_END)
            continue;
        if (info.textType == TT_DASH)
            drawDash(line, run);
        else
            drawRun(line, run, info);
    }
}

void CYbRunPainter::drawRun(int line, int run, const TextInfo& info) {
    int t = info.textType;
    if (t == TT_TEXT || t == TT_SOUND_MARK || t == TT_HANGING) {
        drawChars(line, run, info, SLOT_TEXT, SLOT_BOLD, true);
    } else if (t == TT_RUBY || t == TT_LEFT_RUBY || t == TT_SIC) {
        drawChars(line, run, info, SLOT_RUBY, SLOT_RUBY, false);
    } else if (IsEmphasis(t)) {
        drawMarks(line, run, info);
    } else if (IsSideLine(t)) {
        drawSideLine(line, run, info);
    } else if (t == TT_NOTE || t == TT_SOURCE_NOTE || t == TT_ILLEGIBLE || t == TT_QUOTE_NOTE) {
        drawNote(line, run, info);
    } else if (t == TT_EXTERNAL_CHAR) {
        drawExternal(line, run, info);
    } else if (t == TT_PAREN_NOTE || t == TT_LINE_RIGHT_SMALL || t == TT_LINE_LEFT_SMALL ||
               t == TT_SUPERSCRIPT || t == TT_SUBSCRIPT || t == TT_CHAR_NOTE) {
        drawChars(line, run, info, SLOT_HALF, SLOT_BOLD_HALF, false);
    } else if (t == TT_BOX_START || t == TT_BOX_END) {
        drawBoxRun(line, run);
    } else if (t == TT_BOX) {
        drawRangeBox(line, run);
    } else if (t == TT_REPEAT_MARK || t == TT_VOICED_REPEAT_MARK) {
        drawRepeatMark(line, run, info);
    } else if (t == TT_HORIZONTAL || t == TT_AUTO_HORIZONTAL) {
        drawChars(line, run, info, SLOT_HORIZONTAL, SLOT_BOLD_HORIZONTAL, false);
    } else if (t == TT_LINK) {
        drawLink(line, run, info);
    }
}

}  // namespace Yomibon
