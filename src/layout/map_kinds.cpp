// Which runs the mapper places where, and the walk over an annotation's target range.
#include <algorithm>

#include "layout/map_builder.h"
#include "platform/char_type.h"
#include "platform/utf16.h"

namespace Yomibon::MapDetail {

bool IsMainTextType(int type) {
    return type == TT_TEXT || type == TT_DASH || type == TT_RESERVED_82 || type == TT_HANGING;
}

bool IsSmallType(int type) {
    return (type >= TT_PAREN_NOTE && type <= TT_SUBSCRIPT) || type == TT_CHAR_NOTE;
}

bool IsLeftLaneType(int type) {
    return type == TT_LINE_LEFT_SMALL || type == TT_SUBSCRIPT || type == TT_CHAR_NOTE;
}

bool IsBaseCharType(int type) {
    return IsMainTextType(type) || IsSmallType(type) || type == TT_EXTERNAL_CHAR ||
           type == TT_SOUND_MARK || type == TT_REPEAT_MARK || type == TT_VOICED_REPEAT_MARK ||
           type == TT_HORIZONTAL || type == TT_AUTO_HORIZONTAL;
}

bool IsRubyType(int type) {
    return type == TT_RUBY || type == TT_SIC;
}

bool IsNoteType(int type) {
    return type == TT_NOTE || type == TT_SOURCE_NOTE || type == TT_ILLEGIBLE ||
           type == TT_QUOTE_NOTE;
}

// A range box encloses the characters themselves, so its entries stay on them; moving them
// a text size to the right, like the right-side marks, would draw the box beside the text.
bool MarkSide(int type, const TextInfo& run, int& side) {
    if ((type >= TT_WHITE_SESAME_DOT && type <= TT_WAVE_LINE) ||
        (type >= TT_DASHED_LINE && type <= TT_DOUBLE_LINE)) {
        side = 1;
        return true;
    }
    if (type == TT_LINK) {
        side = 1;
        return run.tpEnd.iIndex >= 0 && run.tpBegin.iIndex >= 0;
    }
    if (type == TT_STRIKE_LINE || type == TT_BOX) {
        side = 0;
        return true;
    }
    if (type == TT_UNDER_LINE ||
        (type >= TT_LEFT_WHITE_SESAME_DOT && type <= TT_LEFT_DOUBLE_LINE)) {
        side = -1;
        return true;
    }
    return false;
}

bool IsHalfWidthChar(const TextInfo& run, char32_t c) {
    if (IsMainTextType(run.textType) && run.chrType != 0xFFFF) return IsHalfWidthClass(run.chrType);
    return IsHalfWidthClass(CharClass(c));
}

std::vector<RunChar> RunChars(const std::u16string& s) {
    std::vector<RunChar> out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); i += UnitsAt(s, i))
        out.push_back({i, CodePointAt(s, i)});
    return out;
}

std::vector<TargetChar> TargetChars(const CYbTxtBuffer& buffer, int line, int run) {
    std::vector<TargetChar> out;
    if (line < 0 || line >= buffer.lineCount()) return out;
    const auto& runs = buffer.lines()[line].runs;
    if (run < 0 || run >= int(runs.size())) return out;
    const TextInfo& info = runs[run];
    RunPoint b = info.tpBegin;
    RunPoint e = info.tpEnd;
    if (b.iIndex < 0 || e.iIndex < 0) return out;
    if (e.iIndex >= int(runs.size())) e = {int(runs.size()) - 1, -1};
    if (e.iIndex == run) e = {run - 1, -1};
    if (b.iIndex >= int(runs.size()) || e.iIndex < b.iIndex) return out;
    for (int k = b.iIndex; k <= e.iIndex; ++k) {
        const TextInfo& r = runs[k];
        if (!IsBaseCharType(r.textType)) continue;
        const int count = int(CharCount(r.str));
        int from = k == b.iIndex ? std::max(0, b.iPos) : 0;
        int to = count - 1;
        if (k == e.iIndex && e.iPos >= 0) to = std::min(to, e.iPos);
        for (int p = from; p <= to; ++p)
            out.push_back({{line, k, p}, r.textType});
    }
    return out;
}

}  // namespace Yomibon::MapDetail
