// The walk over the node tree, the lines it closes and the text it adds.
#include "text/html_node_parser.h"

#include <unicode/uchar.h>

#include <algorithm>

#include "platform/utf16.h"
#include "text/accent_table.h"
#include "text/html_tables.h"
#include "text/plain_runs.h"

namespace Yomibon {
namespace {

bool IsHtmlSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// A line feed between two wide characters vanishes (no space between Japanese words).
bool IsWide(char32_t c) {
    auto width = u_getIntPropertyValue(UChar32(c), UCHAR_EAST_ASIAN_WIDTH);
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH || width == U_EA_HALFWIDTH;
}

char32_t LastCodePoint(std::u16string_view s) {
    if (s.empty()) return 0;
    size_t i = s.size() - 1;
    if (i > 0 && IsLowSurrogate(s[i]) && IsHighSurrogate(s[i - 1])) --i;
    return CodePointAt(s, i);
}

constexpr std::u16string_view kBibliography = u"底本：";
constexpr std::u16string_view kPageBreak = u"［＃改ページ］";

}  // namespace

CYbHTMLTxtNodeParser::CYbHTMLTxtNodeParser(CYbTxtBuffer& buffer, std::u16string& title,
                                           std::u16string& author, std::u16string& info,
                                           HtmlWalkOptions options)
    : buffer_(buffer), title_(title), author_(author), info_(info), options_(std::move(options)) {}

void CYbHTMLTxtNodeParser::walk(const CYbHtmlNode& body) {
    baseLine_ = buffer_.lineCount();
    if (body.valid()) {
        Frame root;
        root.node = body;
        stack_.push_back(root);
        while (!stack_.empty()) {
            Frame& top = stack_.back();
            if (top.next < top.node.childCount()) {
                Frame frame;
                frame.node = top.node.child(top.next++);
                frame.code = HtmlElementCodeOf(frame.node.tagName());
                if (enter(frame)) stack_.push_back(std::move(frame));
                continue;
            }
            Frame done = std::move(stack_.back());
            stack_.pop_back();
            if (!stack_.empty()) leave(done);
        }
    }
    if (bibliography_)
        breakBlock();
    else
        closeLine();
    if (weight_ == 2 && !bibliography_) {
        appendRun(TT_BOLD_END, u"", {0, 0}, {0, -1});
        closeLine();
    }
}

bool CYbHTMLTxtNodeParser::enter(Frame& frame) {
    if (frame.code == HE_TEXT) {
        addTextNode(frame);
        return false;
    }
    if (frame.node.tagName().starts_with('#') || skipped(frame)) return false;
    int c = frame.code;
    bool styles = c != HE_RUBY && c != HE_RB && c != HE_RT && c != HE_BR && !inRuby();
    if (styles && !applyStyle(frame)) return false;
    frame.line = lineIndex_;
    frame.run = int32_t(runs_.size());
    startElement(frame);
    return true;
}

void CYbHTMLTxtNodeParser::leave(Frame& frame) {
    endElement(frame);
    if (frame.styled) restoreStyle(frame);
}

bool CYbHTMLTxtNodeParser::skipped(const Frame& frame) const {
    if (frame.code == HE_RP || frame.code == HE_FORM) return true;
    std::string tag = frame.node.tagName();
    if (tag == "SCRIPT" || tag == "STYLE" || tag == "TEMPLATE") return true;
    // What a browser does not show is not text either (scripts, hidden blocks).
    return frame.node.style("display", false, "inline") == "none";
}

// --- Text ---------------------------------------------------------------------------

void CYbHTMLTxtNodeParser::addTextNode(const Frame& frame) {
    std::u16string data = FromUtf8(frame.node.data());
    std::string space =
        stack_.empty() ? "normal" : stack_.back().node.style("white-space", true, "normal");
    if (space.starts_with("pre")) {
        // Preformatted: line feeds end lines (a CR too; CR LF is one end).
        size_t start = 0;
        for (size_t i = 0; i <= data.size(); ++i) {
            if (i < data.size() && data[i] != u'\n' && data[i] != u'\r') continue;
            addText(std::u16string_view(data).substr(start, i - start));
            if (i == data.size()) break;
            if (data[i] == u'\r' && i + 1 < data.size() && data[i + 1] == u'\n') ++i;
            if (!inRuby()) closeLine();
            start = i + 1;
        }
        return;
    }
    // Ordinary text: runs of white space collapse to one space, or to nothing at a line's
    // start and at a line feed between Japanese characters.
    for (size_t i = 0; i < data.size();) {
        if (IsHtmlSpace(data[i])) {
            pendingSpace_ = true;
            pendingBreak_ = pendingBreak_ || data[i] == u'\n' || data[i] == u'\r';
            ++i;
            continue;
        }
        size_t end = i;
        while (end < data.size() && !IsHtmlSpace(data[end]))
            ++end;
        addText(std::u16string_view(data).substr(i, end - i));
        i = end;
    }
}

void CYbHTMLTxtNodeParser::flushSpace(char32_t next) {
    if (!pendingSpace_) return;
    bool lineFeed = pendingBreak_;
    pendingSpace_ = pendingBreak_ = false;
    if (lastChar_ == 0) return;
    if (lineFeed && IsWide(lastChar_) && IsWide(next)) return;
    if (bibliography_)
        info_ += u' ';
    else
        AppendTextRuns(u" ", runs_, true);
    lastChar_ = u' ';
}

void CYbHTMLTxtNodeParser::addText(std::u16string_view text) {
    if (text.empty()) return;
    flushSpace(CodePointAt(text, 0));
    std::u16string converted;
    if (text.find(u'〔') != std::u16string_view::npos) {
        converted = ConvertAccents(text, AccentTable());
        text = converted;
    }
    if (bibliography_) {
        info_ += text;
        lastChar_ = LastCodePoint(text);
        return;
    }
    if (text.starts_with(kPageBreak)) {
        closeLine();
        appendRun(TT_NEXT_PAGE, u"", {0, 0}, {0, -1});
        closeLine();
        return addText(text.substr(kPageBreak.size()));
    }
    if (text.starts_with(u"［＃")) return;  // notes meant for browsers
    size_t at = text.find(kBibliography);
    if (at == std::u16string_view::npos) return addBodyText(text);
    addBodyText(text.substr(0, at));
    breakBlock();
    appendRun(TT_END_OF_BODY, u"", {0, 0}, {0, -1});
    appendRun(TT_COMMENT_BEGIN, u"", {0, 0}, {0, -1});
    bibliography_ = true;
    info_ += text.substr(at);
    lastChar_ = LastCodePoint(text);
}

void CYbHTMLTxtNodeParser::addBodyText(std::u16string_view text) {
    if (text.empty()) return;
    AppendTextRuns(text, runs_, true);
    lastChar_ = LastCodePoint(text);
}

// --- Lines --------------------------------------------------------------------------

void CYbHTMLTxtNodeParser::closeLine() {
    if (bibliography_) info_ += u"\r\n";
    if (!bibliography_ || !runs_.empty()) storeLine();
    startLine();
}

// Moves the pending runs into the buffer as one line.
void CYbHTMLTxtNodeParser::storeLine() {
    LineInfo line;
    line.runs = std::move(runs_);
    buffer_.addLine(std::move(line));
    ++lineIndex_;
}

void CYbHTMLTxtNodeParser::startLine() {
    runs_.clear();
    lastChar_ = 0;
    pendingSpace_ = pendingBreak_ = false;
}

bool CYbHTMLTxtNodeParser::hasContent() const {
    // Bold marks take no room: a line of nothing else is not worth a column.
    return std::any_of(runs_.begin(), runs_.end(), [](const TextInfo& r) {
        return r.textType != TT_BOLD_START && r.textType != TT_BOLD_END;
    });
}

void CYbHTMLTxtNodeParser::breakBlock() {
    if (bibliography_) {
        if (!info_.empty() && !info_.ends_with(u"\r\n")) info_ += u"\r\n";
        if (hasContent()) storeLine();
        startLine();
        return;
    }
    if (hasContent()) closeLine();
}

void CYbHTMLTxtNodeParser::appendRun(int type, std::u16string str, RunPoint begin, RunPoint end,
                                     uint16_t chrType) {
    runs_.push_back(TextInfo{std::move(str), chrType, begin, end, type});
}

std::vector<TextInfo>& CYbHTMLTxtNodeParser::runsOfLine(int32_t line) {
    if (line >= lineIndex_) return runs_;
    return buffer_.lines()[size_t(baseLine_ + line)].runs;
}

void CYbHTMLTxtNodeParser::appendRangeRuns(int type, const std::u16string& str, int32_t line,
                                           int32_t run) {
    for (int32_t l = line; l <= lineIndex_; ++l) {
        std::vector<TextInfo>& runs = runsOfLine(l);
        int32_t begin = l == line ? run : 0;
        int32_t end = int32_t(runs.size());
        bool text = false;
        for (int32_t r = std::max(begin, 0); r < end && !text; ++r)
            text =
                runs[size_t(r)].textType == TT_TEXT || runs[size_t(r)].textType == TT_EXTERNAL_CHAR;
        if (text) runs.push_back(TextInfo{str, 0xFFFF, {begin, 0}, {end, -1}, type});
    }
}

}  // namespace Yomibon
