// The start and end actions of the elements.
#include <algorithm>
#include <vector>

#include "platform/utf16.h"
#include "text/html_node_parser.h"
#include "text/html_tables.h"
#include "text/plain_runs.h"

namespace Yomibon {
namespace {

// Links nest only in broken pages; the outer one of such a pair gets no runs.
bool ContainsLink(const CYbHtmlNode& node) {
    std::vector<CYbHtmlNode> stack;
    for (size_t i = 0; i < node.childCount(); ++i) stack.push_back(node.child(i));
    while (!stack.empty()) {
        CYbHtmlNode n = stack.back();
        stack.pop_back();
        if (n.isText()) continue;
        if (n.tagName() == "A" && !n.attr("href").empty()) return true;
        for (size_t i = 0; i < n.childCount(); ++i) stack.push_back(n.child(i));
    }
    return false;
}

std::u16string Trimmed(const std::string& utf8) {
    std::u16string s = FromUtf8(utf8);
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    while (!s.empty() && blank(s.back())) s.pop_back();
    size_t i = 0;
    while (i < s.size() && blank(s[i])) ++i;
    return s.substr(i);
}

bool IsCardTextLink(const std::u16string& href) {
    return href.find(u"/files/") != std::u16string::npos &&
           href.find(u"html") != std::u16string::npos;
}

constexpr std::u16string_view kCardLabel = u" [★いますぐYomibonで見る★] ";

// Link counters live in the 16-bit class field of their runs; 0xFFFF means none.
uint16_t LinkField(int id) {
    return id < 0 ? 0xFFFF : uint16_t(id % 0xFFFF);
}

}  // namespace

void CYbHTMLTxtNodeParser::startElement(Frame& frame) {
    switch (frame.code) {
        case HE_A: {
            frame.outerLink = currentLink_;
            std::string href = frame.node.attr("href");
            if (href.empty() || bibliography_ || ContainsLink(frame.node)) break;
            frame.href = FromUtf8(ResolveHtmlUrl(options_.documentUrl, href));
            frame.linkId = linkCounter_;
            currentLink_ = frame.linkId;
            appendRun(TT_LINK, frame.href, {-1, -1}, {-1, -1}, LinkField(frame.linkId));
            frame.run = int32_t(runs_.size());
            if (options_.cardPage && IsCardTextLink(frame.href)) {
                addText(kCardLabel);
                frame.next = frame.node.childCount();  // the label replaces the link's text
            }
            break;
        }
        case HE_RUBY:
            // Space before the ruby belongs before its base (a wide base is assumed).
            flushSpace(U'字');
            if (rubyDepth_++ == 0) rubyStart_ = int32_t(runs_.size());
            break;
        case HE_BR:
            if (!inRuby()) closeLine();
            break;
        default:
            break;
    }
}

void CYbHTMLTxtNodeParser::endElement(Frame& frame) {
    int c = frame.code;
    if (c == HE_A) return endLink(frame);
    if (c == HE_RUBY) {
        rubyDepth_ = std::max(rubyDepth_ - 1, 0);
        return;
    }
    if (bibliography_) {
        if (c == HE_P) breakBlock();
        return;
    }
    if (c >= HE_H1 && c <= HE_H9) return endHeading(frame);
    switch (c) {
        case HE_DEL:
            return endMark(frame, TT_STRIKE_LINE);
        case HE_EM:
        case HE_STRONG: {
            int type = EmphasisTypeOf(frame.node.attr("class"));
            if (type != TT_MAX) endMark(frame, type);
            return;
        }
        case HE_IMG:
            return endImage(frame);
        case HE_P:
            if (!inRuby()) breakBlock();
            return;
        case HE_RB:
            if (frame.line == lineIndex_) rubyStart_ = frame.run;
            return;
        case HE_RT:
            return endRt(frame);
        case HE_SUB:
            return setPlainType(frame, TT_SUBSCRIPT);
        case HE_SUP:
            return setPlainType(frame, TT_SUPERSCRIPT);
        default:
            return;
    }
}

void CYbHTMLTxtNodeParser::endMark(const Frame& frame, int type) {
    appendRangeRuns(type, std::u16string(TypeName(type)), frame.line, frame.run);
}

void CYbHTMLTxtNodeParser::setPlainType(const Frame& frame, int type) {
    for (int32_t l = frame.line; l <= lineIndex_; ++l) {
        std::vector<TextInfo>& runs = runsOfLine(l);
        for (size_t r = l == frame.line ? size_t(frame.run) : 0; r < runs.size(); ++r)
            if (runs[r].textType == TT_TEXT) runs[r].textType = type;
    }
}

void CYbHTMLTxtNodeParser::endLink(const Frame& frame) {
    currentLink_ = frame.outerLink;
    bool oneLine = frame.line == lineIndex_;
    if (oneLine && !bibliography_ && !frame.node.attr("name").empty() &&
        frame.run < int32_t(runs_.size()))
        appendRangeRuns(TT_HEADING_SMALL, u"", frame.line, frame.run);
    if (frame.linkId < 0) return;
    if (lineIndex_ - frame.line < 5) {
        for (int32_t l = frame.line; l <= lineIndex_; ++l) {
            std::vector<TextInfo>& runs = runsOfLine(l);
            int32_t begin = l == frame.line ? frame.run : 0;
            int32_t end = int32_t(runs.size());
            if (begin < end)
                runs.push_back(
                    TextInfo{frame.href, LinkField(frame.linkId), {begin, 0}, {end, -1}, TT_LINK});
        }
    }
    ++linkCounter_;
}

void CYbHTMLTxtNodeParser::endHeading(const Frame& frame) {
    int c = frame.code;
    std::string cls = frame.node.attr("class");
    if (c == HE_H1) {
        breakBlock();
        if (cls == "title" || (frame.line == 0 && title_.empty()))
            title_ = Trimmed(frame.node.innerText());
        return;
    }
    if (c == HE_H2) {
        breakBlock();
        if (frame.line == 1 && !title_.empty() && author_.empty()) {
            if (weight_ == 2 && frame.weightBefore != 2) {
                appendRun(TT_BOLD_END, u"", {0, 0}, {0, -1});
                weight_ = frame.weightBefore;
            }
            appendRun(TT_NEXT_PAGE, u"", {0, 0}, {0, -1});  // the title page ends
            closeLine();
            author_ = Trimmed(frame.node.innerText());
        } else if (cls == "author") {
            author_ = Trimmed(frame.node.innerText());
        }
        return;
    }
    int type = c == HE_H3 ? TT_HEADING_LARGE : c == HE_H4 ? TT_HEADING_MEDIUM : TT_HEADING_SMALL;
    appendRangeRuns(type, u"", frame.line, frame.run);
}

void CYbHTMLTxtNodeParser::endRt(const Frame& frame) {
    int32_t start = rubyStart_;
    rubyStart_ = -1;
    if (frame.line != lineIndex_) return;
    int32_t first = frame.run;
    int32_t count = int32_t(runs_.size());
    if (first >= count) return;
    if (start < 0 || start >= first) {
        // A reading without a base is not shown.
        for (int32_t r = first; r < count; ++r) runs_[size_t(r)].textType = TT_COMMENT;
        return;
    }
    TextInfo& ruby = runs_[size_t(first)];
    for (int32_t r = first + 1; r < count; ++r) {
        ruby.str += runs_[size_t(r)].str;
        runs_[size_t(r)].textType = TT_COMMENT;
    }
    const TextInfo& base = runs_[size_t(first - 1)];
    int32_t lastChar = std::max(int32_t(CharCount(base.str)) - 1, 0);
    ruby.textType = TT_RUBY;
    ruby.chrType = 0xFFFF;
    ruby.tpBegin = {start, 0};
    ruby.tpEnd = {first - 1, lastChar};
}

}  // namespace Yomibon
