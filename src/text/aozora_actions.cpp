// What each matched annotation does to the line being built, by its text type.
#include <algorithm>

#include "platform/char_type.h"
#include "platform/utf16.h"
#include "text/annotation_table.h"
#include "text/annotation_text.h"
#include "text/aozora_parser.h"
#include "text/gaiji_table.h"
#include "text/picture_annotation.h"
#include "text/ruby_text.h"

namespace Yomibon {
namespace {

bool IsTargetOrRangeType(int type) {
    return (type >= TT_WHITE_SESAME_DOT && type <= TT_LEFT_DOUBLE_LINE) || type == TT_SIC ||
           type == TT_BOX || type == TT_BOLD ||
           (type >= TT_HEADING_LARGE && type <= TT_HEADING_SMALL);
}

uint16_t ClassOf(std::u16string_view s) {
    return s.empty() ? 0xFFFF : CharClass(CodePointAt(s, 0));
}

}  // namespace

void CYbAozoraTxtParser::act(int type, std::u16string_view x) {
    if (IsTargetOrRangeType(type)) return actTargetOrRange(type, x);
    switch (type) {
        case TT_RUBY:
            return actRuby(x);
        case TT_LEFT_RUBY:
            return actAnnotatedRuby(x);
        case TT_LARGER_TEXT:
        case TT_SMALLER_TEXT:
            return actSize(type, x);
        case TT_CAPTION:
            return actCaption(x);
        case TT_RANGE_END:
            return actRangeEnd(x);
        case TT_NOTE:
            return actNote(x);
        case TT_LINE_RIGHT_SMALL:
        case TT_LINE_LEFT_SMALL:
            return actLineSmall(type, x);
        case TT_SUPERSCRIPT:
        case TT_SUBSCRIPT:
        case TT_HORIZONTAL:
            return actCutOut(type, x);
        case TT_ILLEGIBLE: {
            appendRun(TT_TEXT, u"※", 0xFFFF, {0, 0}, {0, -1});
            RunPoint mark{int32_t(runs_.size()) - 1, 0};
            return appendRun(TT_ILLEGIBLE, std::u16string(x), 0xFFFF, mark, mark);
        }
        case TT_LINE_INDENT:
        case TT_LINE_INDENT_HANG:
        case TT_INDENT_START:
        case TT_INDENT_HANG_START:
            return actIndent(type, x);
        case TT_INDENT_END:
            return actIndentEnd();
        case TT_LINE_BOTTOM:
        case TT_BOTTOM_START:
            return actBottom(type, x);
        case TT_BOTTOM_END:
            return actBottomEnd();
        case TT_LIMIT_START:
        case TT_LIMIT_END:
            return actLimit(type, x);
        case TT_PICTURE:
            return actPicture(x);
        case TT_BOX_START:
            return actBoxStart();
        case TT_QUOTE_NOTE:
            return actQuoteNote(x);
        case TT_EXTERNAL_CHAR:
            return actExternal(x);
        case TT_BOLD_START:
        case TT_BOLD_END:
            return appendRun(type, u"", 0xFFFF, {0, 0}, {0, -1});
        case TT_NEXT_LINE:
        case TT_NEXT_COLUMN:
        case TT_NEXT_PAGE:
        case TT_NEXT_LEAF:
        case TT_NEXT_SPREAD:
            return actBreak(type);
        case TT_END_OF_BODY:
            appendRun(TT_END_OF_BODY, u"", 0xFFFF, {0, 0}, {0, -1});
            inBibliography_ = true;
            return;
        default:
            break;
    }
    if (x.empty()) return;
    RunPoint at{0, 0}, end{0, -1};
    int32_t index, pos;
    if (lastPlain(index, pos)) at = end = RunPoint{index, pos};
    if (type == TT_PAREN_NOTE) return appendRun(type, std::u16string(x), ClassOf(x), at, end);
    appendRun(type, std::u16string(x), 0xFFFF, at, end);
}

RunPoint CYbAozoraTxtParser::baseOverExternal(int32_t last) const {
    // An external character stands for a kanji: it joins the kanji on either side of it in
    // one base, as the reading covers them all.
    auto isKanji = [&](int32_t r) {
        const TextInfo& run = runs_[size_t(r)];
        return run.textType == TT_TEXT && (run.chrType & C3_IDEOGRAPH) != 0;
    };
    auto isExternal = [&](int32_t r) { return runs_[size_t(r)].textType == TT_EXTERNAL_CHAR; };
    if (!isKanji(last) && !isExternal(last)) return {last, 0};
    int32_t r = last;
    while (r > 0 && (isExternal(r - 1) || (isExternal(r) && isKanji(r - 1))))
        --r;
    return {r, 0};
}

void CYbAozoraTxtParser::actRuby(std::u16string_view x) {
    int32_t plainIndex = -1, plainPos = 0;
    bool hasPlain = lastPlain(plainIndex, plainPos);
    int32_t external = -1;
    for (int32_t r = int32_t(runs_.size()) - 1; r > plainIndex; --r)
        if (runs_[size_t(r)].textType == TT_EXTERNAL_CHAR) {
            external = r;
            break;
        }
    int32_t bar = pendingBar_;
    pendingBar_ = -1;
    RunPoint begin, end;
    if (external >= 0) {
        begin = bar >= 0 ? RunPoint{bar + 1, 0} : baseOverExternal(external);
        end = {external, 0};
    } else if (hasPlain && !x.empty()) {
        begin = bar >= 0 ? RunPoint{bar + 1, 0} : baseOverExternal(plainIndex);
        end = {plainIndex, plainPos};
    } else {
        return;
    }
    if (bar >= 0) runs_[size_t(bar)].textType = TT_RUBY_BASE_START;
    appendRun(TT_RUBY, RubyText(x), 0xFFFF, begin, end);
}

void CYbAozoraTxtParser::actTargetOrRange(int type, std::u16string_view x) {
    if (!x.empty()) {
        RunPoint first, last;
        if (searchBack(x, first, last))
            appendRun(type, std::u16string(TypeName(type)), 0xFFFF, first, last);
        return;
    }
    RangeSlot& slot = slots_[size_t(type)];
    if (slot.count == 0) {
        int32_t index, pos;
        slot.start = lastPlain(index, pos) ? RunPoint{index, pos + 1} : RunPoint{0, 0};
    }
    ++slot.count;
}

void CYbAozoraTxtParser::actRangeEnd(std::u16string_view x) {
    if (x.starts_with(u"ここで"))
        x.remove_prefix(3);
    else if (x.starts_with(u"ここまで"))
        x.remove_prefix(4);
    int row = FindAnnotationByOpen(std::u16string(u"［＃") + std::u16string(x));
    if (row < 0) return;
    int type = AnnotationTable()[size_t(row)].textType;
    RangeSlot& slot = slots_[size_t(type)];
    // A closing form without its opening form has no range to close.
    if (slot.count == 0) return;
    RunPoint here{int32_t(runs_.size()), -1};
    if (type == TT_BOX_START && !boxes_.empty()) {
        appendRun(TT_BOX_END, std::u16string(TypeName(TT_BOX_START)), uint16_t(slot.count),
                  {boxes_.back().first, boxes_.back().second}, {here.iIndex, 2});
        boxes_.pop_back();
    } else {
        appendRun(type, std::u16string(TypeName(type)), slot.chrType, slot.start, here);
    }
    --slot.count;
}

void CYbAozoraTxtParser::actNote(std::u16string_view x) {
    if (runs_.empty() || x.empty()) return;
    size_t sep = x.find(u"」に「");
    if (sep == std::u16string_view::npos) return;
    RunPoint first, last;
    if (searchBack(x.substr(0, sep), first, last))
        appendRun(TT_NOTE, std::u16string(x.substr(sep + 3)), 0xFFFF, first, last);
}

void CYbAozoraTxtParser::actLineSmall(int type, std::u16string_view x) {
    int32_t index, pos;
    if (x.empty() || !lastPlain(index, pos)) return;
    RunPoint first, last;
    if (!searchBack(x, first, last)) return;
    if (first.iPos > 0) {
        splitRun(first.iIndex, first.iPos);
        if (last.iIndex == first.iIndex) last.iPos -= first.iPos;
        ++last.iIndex;
        first = {first.iIndex + 1, 0};
    }
    for (int32_t r = first.iIndex; r <= last.iIndex && r < int32_t(runs_.size()); ++r)
        if (runs_[size_t(r)].textType == TT_TEXT) runs_[size_t(r)].textType = type;
}

void CYbAozoraTxtParser::actCutOut(int type, std::u16string_view x) {
    int32_t index, pos;
    if (x.empty() || !lastPlain(index, pos)) return;
    TextInfo& run = runs_[size_t(index)];
    if (run.str == x) {
        run.textType = type;
        run.tpBegin = run.tpEnd = {index, 0};
        return;
    }
    std::u16string_view s = run.str;
    std::u16string_view target = x;
    size_t at = std::u16string_view::npos;
    size_t quote = x.find(u'「');
    if (quote != std::u16string_view::npos && quote > 0 && x.back() == u'」' &&
        IsAllDigits(x.substr(0, quote))) {
        target = x.substr(quote + 1, x.size() - quote - 2);
        int32_t nth = std::max(AnnotationNumber(x.substr(0, quote)), 1);
        for (at = s.find(target); at != std::u16string_view::npos && --nth > 0;)
            at = s.find(target, at + std::max<size_t>(target.size(), 1));
    } else {
        at = s.rfind(x);
    }
    if (target.empty() || at == std::u16string_view::npos) return;
    std::u16string before(s.substr(0, at)), middle(target), after(s.substr(at + target.size()));
    uint16_t cls = run.chrType;
    if (before.empty()) {
        run.str = std::move(middle);
        run.textType = type;
        run.tpBegin = run.tpEnd = {index, pos};
    } else {
        run.str = std::move(before);
        appendRun(type, std::move(middle), cls, {index + 1, pos}, {index + 1, pos});
    }
    if (!after.empty()) appendRun(TT_TEXT, std::move(after), cls, {0, 0}, {0, -1});
}

void CYbAozoraTxtParser::actPicture(std::u16string_view x) {
    int type;
    std::u16string fields;
    if (!MakePictureRun(x, type, fields)) return;
    RunPoint at{0, 0}, end{0, -1};
    int32_t index, pos;
    if (lastPlain(index, pos)) at = end = RunPoint{index, pos};
    appendRun(type, std::move(fields), 0xFFFF, at, end);
}

void CYbAozoraTxtParser::actQuoteNote(std::u16string_view x) {
    constexpr std::u16string_view kSep = u"」は底本では「";
    size_t sep = x.find(kSep);
    if (runs_.empty() || sep == std::u16string_view::npos) return;
    RunPoint first, last;
    if (!searchBack(x.substr(0, sep), first, last)) return;
    std::u16string note = u"底本では、" + std::u16string(x.substr(sep + kSep.size()));
    appendRun(TT_QUOTE_NOTE, std::move(note), 0xFFFF, first, last);
}

void CYbAozoraTxtParser::actExternal(std::u16string_view x) {
    int32_t index, pos;
    bool hasPlain = lastPlain(index, pos);
    if (CharCount(x) == 1) {
        RunPoint at{0, 0}, end{0, -1};
        if (hasPlain) at = end = RunPoint{index, pos};
        return appendRun(TT_CHAR_NOTE, std::u16string(x), 0xFFFF, at, end);
    }
    if (x.find(u'、') == std::u16string_view::npos || !hasPlain) return;
    TextInfo& run = runs_[size_t(index)];
    // Only a "※" stands for the character; any other annotation with a "、" after plain
    // text is not a description and must not eat the character before it.
    size_t lastUnit = CharOffset(run.str, size_t(pos));
    if (run.str.compare(lastUnit, std::u16string::npos, u"※") != 0) return;
    std::u16string description(ExternalCharDescription(x));
    std::u16string found;
    bool resolved = LookupExternalChar(x, found);
    if (run.str.size() == lastUnit + 1 && lastUnit == 0) {
        if (resolved) {
            run.str = std::move(found);
            run.chrType = ClassOf(run.str);
        } else {
            run.str = std::move(description);
            run.textType = TT_EXTERNAL_CHAR;
            run.tpBegin = {index, 0};
        }
        return;
    }
    uint16_t removedClass = CharClass(u'※');
    run.str.resize(lastUnit);
    if (resolved) {
        uint16_t cls = ClassOf(found);
        appendRun(TT_TEXT, std::move(found), cls, {0, 0}, {0, -1});
    } else {
        appendRun(TT_EXTERNAL_CHAR, std::move(description), removedClass, {index + 1, 0}, {0, -1});
    }
}

void CYbAozoraTxtParser::actSize(int type, std::u16string_view x) {
    // The target form leaves "X」はN" as the inner text, the block forms "ここからN" or "N".
    size_t quote = x.rfind(u"」は");
    std::u16string_view steps = quote == std::u16string_view::npos ? x : x.substr(quote + 2);
    if (steps.starts_with(u"ここから")) steps.remove_prefix(4);
    const uint16_t count = uint16_t(std::clamp(AnnotationNumber(steps), 1, 9));
    if (quote != std::u16string_view::npos) {
        RunPoint first, last;
        if (searchBack(x.substr(0, quote), first, last))
            appendRun(type, std::u16string(TypeName(type)), count, first, last);
        return;
    }
    RangeSlot& slot = slots_[size_t(type)];
    if (slot.count == 0) {
        int32_t index, pos;
        slot.start = lastPlain(index, pos) ? RunPoint{index, pos + 1} : RunPoint{0, 0};
    }
    // An opener inside an open range replaces its size, as a style sheet's inner span would.
    slot.chrType = count;
    ++slot.count;
}

}  // namespace Yomibon
