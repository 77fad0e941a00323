// Block layout from cascaded style: blocks, weight, indents and bottom alignment.
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/utf16.h"
#include "text/html_node_parser.h"
#include "text/html_tables.h"

namespace Yomibon {
namespace {

// A length in em: its integer part; anything else gives the default.
int32_t EmOr(const std::string& value, int32_t def) {
    if (value.size() < 2 || !value.ends_with("em")) return def;
    char* end = nullptr;
    double v = std::strtod(value.c_str(), &end);
    if (end == value.c_str() || !std::isfinite(v) || std::fabs(v) > 10000) return def;
    return int32_t(v);
}

int WeightOf(const std::string& value) {
    if (value == "bold" || value == "bolder") return 2;
    if (value.empty() || value == "normal" || value == "lighter") return 1;
    return std::atoi(value.c_str()) > 400 ? 2 : 1;
}

bool IsBlockDisplay(const std::string& display) {
    return display == "block" || display == "list-item" || display == "table" ||
           display == "table-row" || display == "flex" || display == "grid";
}

}  // namespace

bool CYbHTMLTxtNodeParser::applyStyle(Frame& frame) {
    const CYbHtmlNode& node = frame.node;
    if (node.attr("id") == "contents" && FromUtf8(node.innerText()).starts_with(u"+目次"))
        return false;  // the generated table of contents
    frame.styled = true;
    frame.block = IsBlockDisplay(node.style("display", false, "inline"));
    frame.indentBefore = indent_;
    frame.bottomBefore = bottom_;
    frame.weightBefore = weight_;
    // An emphasis written as <strong class="SESAME_DOT"> is a mark, not bold type.
    bool markOnly = frame.code == HE_STRONG && EmphasisTypeOf(node.attr("class")) != TT_MAX;
    if (!bibliography_ && !markOnly) setWeight(WeightOf(node.style("font-weight", true, "normal")));
    int32_t left = EmOr(node.style("margin-left", false), -1000) +
                   EmOr(node.style("padding-left", false), 0);
    int32_t right = EmOr(node.style("margin-right", false), -1000) +
                    EmOr(node.style("padding-right", false), 0);
    int32_t first = EmOr(node.style("text-indent", true), 0);
    bool changed = false;
    if (frame.block) breakBlock();
    if (left >= 0 && left + first >= 0) changed |= setIndent({left + first, left});
    // Right alignment is the library's form of bottom alignment (地付き, 地から字上げ).
    bool flush = node.style("text-align", false) == "right";
    if (right > 0 || flush) changed |= setBottom(std::max(right, 0));
    if (changed || frame.block) breakBlock();
    return true;
}

void CYbHTMLTxtNodeParser::restoreStyle(const Frame& frame) {
    if (!inRuby()) {
        bool changed = setIndent(frame.indentBefore);
        changed |= setBottom(frame.bottomBefore);
        if (changed || frame.block) breakBlock();
    }
    if (frame.weightBefore != 0 && frame.weightBefore != weight_ && !bibliography_) {
        appendRun(frame.weightBefore == 2 ? TT_BOLD_START : TT_BOLD_END, u"", {0, 0}, {0, -1});
        weight_ = frame.weightBefore;
    }
}

void CYbHTMLTxtNodeParser::setWeight(int weight) {
    if (weight == 2 && weight_ != 2) appendRun(TT_BOLD_START, u"", {0, 0}, {0, -1});
    if (weight == 1 && weight_ == 2) appendRun(TT_BOLD_END, u"", {0, 0}, {0, -1});
    weight_ = weight;
}

bool CYbHTMLTxtNodeParser::setIndent(IndentPair pair) {
    if (pair == indent_ || bibliography_) return false;
    breakBlock();
    if (indent_ != IndentPair{0, 0}) appendRun(TT_INDENT_END, u"", {0, 0}, {0, -1});
    if (pair != IndentPair{0, 0}) {
        breakBlock();
        appendRun(TT_INDENT_START, u"", {pair.first, 0}, {pair.second, -1});
    }
    indent_ = pair;
    return true;
}

bool CYbHTMLTxtNodeParser::setBottom(std::optional<int32_t> raise) {
    if (raise == bottom_ || bibliography_) return false;
    breakBlock();
    if (bottom_) appendRun(TT_BOTTOM_END, u"", {0, 0}, {0, -1});
    if (raise) {
        breakBlock();
        appendRun(TT_BOTTOM_START, u"", {*raise, 0}, {*raise, -1});
    }
    bottom_ = raise;
    return true;
}

}  // namespace Yomibon
