// One line of notation: the whole-line forms, then the walk over its characters.
#include <algorithm>
#include <array>
#include <cstdint>

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

// One bit per UTF-16 unit: set for the units that can open notation or a special run, so
// that the walk passes over plain text with one look-up per character.
class NotationStarts {
  public:
    constexpr NotationStarts() {
        for (char16_t c : u"《［※｜／゜゛―")
            if (c != 0) bits_[c >> 6] |= uint64_t(1) << (c & 63);
    }
    constexpr bool has(char16_t c) const { return (bits_[c >> 6] >> (c & 63)) & 1; }

  private:
    std::array<uint64_t, 1024> bits_{};
};

constexpr NotationStarts kNotationStarts;

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
    for (size_t i = 0; i < line.size() && !runsCut_;) {
        char16_t c = line[i];
        if (!kNotationStarts.has(c)) {
            appendPlain(line, i);
            continue;
        }
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
        appendPlain(line, i);
    }
    closePlain(line);
    cutOpenRanges();
}

uint16_t CYbAozoraTxtParser::classOf(char32_t c) {
    const size_t slot = c & 0xFF;
    if (!classes_.held[slot] || classes_.chars[slot] != c) {
        classes_.chars[slot] = c;
        classes_.classes[slot] = CharClass(c);
        classes_.held[slot] = true;
    }
    return classes_.classes[slot];
}

void CYbAozoraTxtParser::appendPlain(std::u16string_view line, size_t& i) {
    size_t units = UnitsAt(line, i);
    uint16_t cls = classOf(CodePointAt(line, i));
    if (plainOpen_ && cls != plainClass_) closePlain(line);
    if (!plainOpen_) {
        plainOpen_ = true;
        plainBegin_ = i;
        plainClass_ = cls;
    }
    i += units;
    plainEnd_ = i;
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
    // longest such closing string begins earliest and wins, the earlier row on a tie. Only
    // the rows whose closing string ends with the character before that "］" are tried.
    size_t bound = FindAnnotationClose(window, hash + 2);
    if (bound == std::u16string_view::npos) return false;
    std::u16string_view head = window.substr(0, bound + 1);
    std::u16string_view rest = window.substr(at);
    auto rows = AnnotationTable();
    for (const AnnotationCloseGroup& group : AnnotationGroupsClosingAfter(window[bound - 1])) {
        if (!head.ends_with(group.close)) continue;
        const size_t pos = head.size() - group.close.size();
        for (int r : group.rows) {
            const AnnotationRow& row = rows[size_t(r)];
            if (!rest.starts_with(row.open)) continue;
            const size_t openEnd = at + row.open.size();
            if (pos < openEnd) continue;
            if (row.textType == TT_PICTURE &&
                !IsPictureAnnotation(line.substr(at + 2, pos - at - 2)))
                continue;
            match = Match{r, openEnd, pos, pos + group.close.size()};
            return true;
        }
    }
    return false;
}

void CYbAozoraTxtParser::closePlain(std::u16string_view line) {
    if (!plainOpen_) return;
    plainOpen_ = false;
    // Built in place: a plain run with its text and class (the rest as a TextInfo starts).
    TextInfo& run = runs_.emplace_back();
    // A view of the source line, which outlives the line's runs until the buffer stores
    // them (flushRunsAsLine) and so copies them into the line's own characters.
    run.str = CYbRunText::View(line.substr(plainBegin_, plainEnd_ - plainBegin_));
    run.chrType = plainClass_;
    noteRunAdded();
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
