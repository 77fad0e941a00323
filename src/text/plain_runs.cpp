#include "text/plain_runs.h"

#include <algorithm>
#include <string>

#include "platform/char_type.h"
#include "platform/utf16.h"
#include "text/annotation_table.h"

namespace Yomibon {

const SpecialCharRow* MatchSpecialChar(std::u16string_view text) {
    if (text.empty()) return nullptr;
    char16_t c = text[0];
    if (c != u'｜' && c != u'／' && c != u'゜' && c != u'゛' && c != u'―') return nullptr;
    for (const SpecialCharRow& row : SpecialCharTable())
        if (text.starts_with(row.str)) return &row;
    return nullptr;
}

bool LastPlainPoint(const std::vector<TextInfo>& runs, int32_t& index, int32_t& pos) {
    for (size_t r = runs.size(); r-- > 0;) {
        if (runs[r].textType != TT_TEXT) continue;
        index = int32_t(r);
        pos = std::max(int32_t(CharCount(runs[r].str)) - 1, 0);
        return true;
    }
    return false;
}

void AppendSpecialRun(const SpecialCharRow& row, std::vector<TextInfo>& runs) {
    std::u16string str(row.str);
    uint16_t cls = CharClass(CodePointAt(str, 0));
    RunPoint at{0, 0}, end{0, -1};
    int32_t index, pos;
    if (LastPlainPoint(runs, index, pos)) at = end = RunPoint{index, pos};
    runs.push_back(TextInfo{std::move(str), cls, at, end, row.textType});
}

void AppendTextRuns(std::u16string_view text, std::vector<TextInfo>& runs, bool keepBar) {
    size_t begin = 0;
    uint16_t cls = 0;
    bool open = false;
    auto close = [&](size_t end) {
        if (open && end > begin)
            runs.push_back(TextInfo{std::u16string(text.substr(begin, end - begin)),
                                    cls,
                                    {0, 0},
                                    {0, -1},
                                    TT_TEXT});
        open = false;
    };
    for (size_t i = 0; i < text.size();) {
        const SpecialCharRow* special = MatchSpecialChar(text.substr(i));
        if (special && !(keepBar && special->textType == TT_RUBY_BASE_START)) {
            close(i);
            AppendSpecialRun(*special, runs);
            i += special->str.size();
            continue;
        }
        uint16_t c = CharClass(CodePointAt(text, i));
        if (open && c != cls) close(i);
        if (!open) {
            open = true;
            begin = i;
            cls = c;
        }
        i += UnitsAt(text, i);
    }
    close(text.size());
}

}  // namespace Yomibon
