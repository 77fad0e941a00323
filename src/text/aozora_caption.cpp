// A caption given on its own line after the picture it belongs to.
#include <algorithm>

#include "text/annotation_table.h"
#include "text/aozora_parser.h"

namespace Yomibon {

namespace {

bool IsPictureType(int type) {
    return type >= TT_PICTURE && type <= TT_PICTURE_SPREAD;
}

bool IsBlankLine(const LineInfo& line) {
    return std::all_of(line.runs.begin(), line.runs.end(),
                       [](const TextInfo& r) { return r.textType == TT_TEXT && r.str.empty(); });
}

// A picture whose annotation gave no caption but the kind of picture ("写真", "図").
bool IsUnnamed(std::u16string_view caption) {
    auto words = PictureWords();
    return caption.empty() || std::find(words.begin(), words.end(), caption) != words.end();
}

// The picture run's fields: file, caption, size, placement, each ended by a zero.
std::vector<std::u16string> SplitFields(const std::u16string& text) {
    std::vector<std::u16string> fields(1);
    for (char16_t c : text) {
        if (c == u'\0')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

}  // namespace

void CYbAozoraTxtParser::actCaption(std::u16string_view x) {
    if (x.empty() || !buffer_) return;
    // Only a line that holds the caption and nothing else.
    std::u16string plain;
    for (const TextInfo& run : runs_) {
        if (run.textType != TT_TEXT) return;
        plain += run.str;
    }
    if (plain != x) return;
    auto& lines = buffer_->lines();
    for (size_t l = lines.size(); l-- > 1;) {
        if (IsBlankLine(lines[l])) continue;
        auto picture = std::find_if(lines[l].runs.rbegin(), lines[l].runs.rend(),
                                    [](const TextInfo& r) { return IsPictureType(r.textType); });
        if (picture == lines[l].runs.rend()) return;  // not right after a picture
        std::vector<std::u16string> fields = SplitFields(picture->str);
        if (fields.size() < 2) return;
        if (IsUnnamed(fields[1])) {
            fields[1] = std::u16string(x);
            std::u16string joined;
            for (size_t f = 0; f + 1 < fields.size(); ++f) {
                joined += fields[f];
                joined.push_back(u'\0');
            }
            picture->str = joined;
        } else if (fields[1] != x) {
            return;  // a caption of its own: the line is text
        }
        runs_.clear();
        return;
    }
}

}  // namespace Yomibon
