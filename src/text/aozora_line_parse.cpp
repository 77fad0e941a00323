// One line of notation: the whole-line forms, then the walk over its characters.
#include <algorithm>

#include "platform/char_type.h"
#include "platform/limits.h"
#include "platform/utf16.h"
#include "text/annotation_table.h"
#include "text/aozora_parser.h"
#include "text/nested_annotation.h"
#include "text/picture_annotation.h"
#include "text/plain_runs.h"

namespace Yomibon {
namespace {

constexpr uint16_t kWholeLineClass = 0x40;

bool IsBlank(const LineInfo& line) {
    return line.runs.empty() || line.runs[0].str.empty();
}

bool IsRuleLine(std::u16string_view line) {
    return !line.empty() &&
           std::all_of(line.begin(), line.end(), [](char16_t c) { return c == u'-'; });
}

TextInfo WholeLineRun(std::u16string_view line, int type) {
    return TextInfo{std::u16string(line), kWholeLineClass, {0, 0}, {0, -1}, type};
}

bool IsTrigger(char16_t c) {
    return c == u'《' || c == u'［' || c == u'※';
}

}  // namespace

void CYbAozoraTxtParser::parseLine(std::u16string_view line) {
    if (parseWholeLine(line)) return;
    walkLine(line);
}

bool CYbAozoraTxtParser::parseWholeLine(std::u16string_view line) {
    if (inBibliography_) {
        runs_.push_back(WholeLineRun(line, TT_TEXT));
        return true;
    }
    auto& lines = buffer_->lines();
    if (line.starts_with(u"底本：") && lines.size() >= 4 &&
        std::all_of(lines.end() - 3, lines.end(), IsBlank)) {
        LineInfo& first = *(lines.end() - 3);
        if (first.runs.empty())
            first.runs.push_back(WholeLineRun(u"", TT_END_OF_BODY));
        else
            first.runs[0].textType = TT_END_OF_BODY;
        runs_.push_back(WholeLineRun(line, TT_TEXT));
        inBibliography_ = true;
        return true;
    }
    if (IsRuleLine(line)) {
        inComment_ = !inComment_;
        runs_.push_back(WholeLineRun(line, inComment_ ? TT_COMMENT_BEGIN : TT_COMMENT_END));
        return true;
    }
    if (inComment_) {
        runs_.push_back(WholeLineRun(line, TT_COMMENT));
        return true;
    }
    return false;
}

void CYbAozoraTxtParser::walkLine(std::u16string_view line) {
    plainOpen_ = false;
    for (size_t i = 0; i < line.size();) {
        char16_t c = line[i];
        Match match;
        if (IsTrigger(c) && matchAnnotation(line, i, match)) {
            closePlain(line);
            const AnnotationRow& row = AnnotationTable()[size_t(match.row)];
            matchedOpen_ = row.open;
            std::u16string_view inner =
                line.substr(match.innerBegin, match.innerEnd - match.innerBegin);
            // Annotations inside this one apply to its text first; an external character's
            // description is looked up as written.
            if (row.textType == TT_RUBY || row.textType == TT_EXTERNAL_CHAR ||
                row.textType == TT_ILLEGIBLE) {
                act(row.textType, inner);
            } else {
                std::u16string applied = ApplyNestedAnnotations(inner);
                act(row.textType, applied);
            }
            i = match.next;
            continue;
        }
        if (const SpecialCharRow* special = MatchSpecialChar(line.substr(i))) {
            closePlain(line);
            appendSpecial(*special);
            i += special->str.size();
            continue;
        }
        size_t units = UnitsAt(line, i);
        uint16_t cls = CharClass(CodePointAt(line, i));
        if (plainOpen_ && cls != plainClass_) closePlain(line);
        if (!plainOpen_) {
            plainOpen_ = true;
            plainBegin_ = i;
            plainClass_ = cls;
        }
        i += units;
        plainEnd_ = i;
    }
    closePlain(line);
    cutOpenRanges();
}

void CYbAozoraTxtParser::appendSpecial(const SpecialCharRow& row) {
    if (row.textType == TT_RUBY_BASE_START) {
        std::u16string str(row.str);
        uint16_t cls = CharClass(CodePointAt(str, 0));
        runs_.push_back(TextInfo{std::move(str), cls, {0, 0}, {0, -1}, TT_TEXT});
        pendingBar_ = int32_t(runs_.size()) - 1;
        return;
    }
    AppendSpecialRun(row, runs_);
}

bool CYbAozoraTxtParser::matchAnnotation(std::u16string_view line, size_t at, Match& match) const {
    size_t limit = std::min(line.size(), at + Limits::kMaxAnnotationUnits);
    std::u16string_view window = line.substr(0, limit);
    if (line[at] == u'《') {
        // Only the first row opens with "《".
        size_t close = window.find(u'》', at + 1);
        if (close == std::u16string_view::npos) return false;
        match = Match{0, at + 1, close, close + 1};
        return true;
    }
    size_t hash = line[at] == u'※' ? at + 1 : at;
    if (!window.substr(hash).starts_with(u"［＃")) return false;
    // Every closing string ends in "］": the one that closes this annotation, past the
    // annotations nested inside it. A row matches when its closing string ends there; the
    // longest such closing string begins earliest and wins, the earlier row on a tie.
    size_t bound = FindAnnotationClose(window, hash + 2);
    if (bound == std::u16string_view::npos) return false;
    std::u16string_view head = window.substr(0, bound + 1);
    auto rows = AnnotationTable();
    size_t best = bound + 1;
    for (size_t r = 0; r < rows.size(); ++r) {
        const AnnotationRow& row = rows[r];
        if (!window.substr(at).starts_with(row.open) || !head.ends_with(row.close)) continue;
        size_t openEnd = at + row.open.size();
        size_t pos = head.size() - row.close.size();
        if (pos < openEnd || pos >= best) continue;
        if (row.textType == TT_PICTURE && !IsPictureAnnotation(line.substr(at + 2, pos - at - 2)))
            continue;
        best = pos;
        match = Match{int(r), openEnd, pos, pos + row.close.size()};
    }
    return match.row >= 0;
}

void CYbAozoraTxtParser::closePlain(std::u16string_view line) {
    if (!plainOpen_) return;
    plainOpen_ = false;
    runs_.push_back(TextInfo{std::u16string(line.substr(plainBegin_, plainEnd_ - plainBegin_)),
                             plainClass_,
                             {0, 0},
                             {0, -1},
                             TT_TEXT});
}

void CYbAozoraTxtParser::cutOpenRanges() {
    // Open ranges are cut at every line end and go on at the start of the next line.
    for (int type = 0; type < TT_MAX; ++type) {
        RangeSlot& slot = slots_[size_t(type)];
        if (type == TT_BOX_START || slot.count == 0) continue;
        if (type == TT_LEFT_RUBY) {
            slot.count = 0;  // a ruby's base does not go on past the line's end
            continue;
        }
        appendRun(type, std::u16string(TypeName(type)), slot.chrType, slot.start,
                  {int32_t(runs_.size()), -1});
        slot.start = {0, 0};
    }
    int32_t before = int32_t(runs_.size());
    int32_t depth = 0;
    for (const IndentPair& box : boxes_)
        appendRun(TT_BOX_START, u"罫囲み", uint16_t(++depth), {box.first, box.second}, {before, 1});
}

}  // namespace Yomibon
