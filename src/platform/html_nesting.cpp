// Capping the element nesting of an HTML text before the engine sees it.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/html_engine.h"

namespace Yomibon {
namespace {

bool IsVoid(std::string_view tag) {
    static constexpr std::string_view kVoid[] = {
        "area", "base", "br",   "col",   "embed",  "hr",    "img", "input",
        "link", "meta", "param", "source", "track", "wbr", "keygen"};
    return std::find(std::begin(kVoid), std::end(kVoid), tag) != std::end(kVoid);
}

// Elements whose start tag closes an open element of the same name (as the tree builder
// does), so that a run of unclosed <p> or <li> does not count as nesting.
bool ClosesItsSibling(std::string_view tag) {
    static constexpr std::string_view kSelf[] = {"p",  "li", "dt", "dd", "rb",     "rt",
                                                 "rp", "tr", "td", "th", "option", "rtc"};
    return std::find(std::begin(kSelf), std::end(kSelf), tag) != std::end(kSelf);
}

// Start tags that end an open paragraph (the tree builder closes it for them).
bool ClosesParagraph(std::string_view tag) {
    static constexpr std::string_view kBlocks[] = {
        "p",  "li", "dt", "dd", "div", "ul", "ol", "dl", "h1", "h2", "h3", "h4", "h5",
        "h6", "table", "pre", "blockquote", "address", "section", "article", "form"};
    return std::find(std::begin(kBlocks), std::end(kBlocks), tag) != std::end(kBlocks);
}

bool IsRawText(std::string_view tag) {
    return tag == "script" || tag == "style" || tag == "textarea" || tag == "title" ||
           tag == "xmp" || tag == "plaintext";
}

// The end of a tag starting at `at` ("<"), quoted attribute values skipped; npos if open.
size_t TagEnd(std::string_view html, size_t at) {
    char quote = 0;
    for (size_t i = at + 1; i < html.size(); ++i) {
        char c = html[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string TagName(std::string_view html, size_t from) {
    std::string name;
    for (size_t i = from; i < html.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(html[i]);
        if (!std::isalnum(c) && c != '-' && c != ':' && c != '_') break;
        name.push_back(char(std::tolower(c)));
    }
    return name;
}

size_t SkipRawText(std::string_view html, size_t from, const std::string& tag) {
    std::string close = "</" + tag;
    for (size_t i = from; i < html.size(); ++i) {
        if (html[i] != '<' || i + close.size() > html.size()) continue;
        bool same = true;
        for (size_t k = 0; k < close.size() && same; ++k)
            same = std::tolower(static_cast<unsigned char>(html[i + k])) == close[k];
        if (same) return i;
    }
    return html.size();
}

}  // namespace

std::string CapHtmlNesting(std::string_view html, size_t maxDepth) {
    std::string out;
    out.reserve(html.size());
    std::vector<std::string> open;
    size_t copied = 0;
    for (size_t i = 0; i < html.size();) {
        const char* lt = static_cast<const char*>(std::memchr(html.data() + i, '<', html.size() - i));
        if (!lt) break;
        i = size_t(lt - html.data());
        if (html.substr(i, 4) == "<!--") {
            size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        size_t end = TagEnd(html, i);
        if (end == std::string_view::npos) break;
        bool closing = i + 1 < html.size() && html[i + 1] == '/';
        std::string tag = TagName(html, i + (closing ? 2 : 1));
        if (tag.empty()) {
            i = end + 1;
            continue;
        }
        if (closing) {
            auto it = std::find(open.rbegin(), open.rend(), tag);
            if (it != open.rend()) open.erase(it.base() - 1, open.end());
            i = end + 1;
            continue;
        }
        bool selfClosed = html[end - 1] == '/';
        while (!open.empty() && ClosesItsSibling(open.back()) &&
               (open.back() == tag || (open.back() == "p" && ClosesParagraph(tag))))
            open.pop_back();
        if (!selfClosed && !IsVoid(tag)) {
            if (open.size() >= maxDepth) {
                // Too deep: the start tag goes, its content stays in the enclosing element.
                out.append(html.substr(copied, i - copied));
                copied = end + 1;
                i = end + 1;
                continue;
            }
            open.push_back(tag);
        }
        i = end + 1;
        if (IsRawText(tag) && !selfClosed) i = SkipRawText(html, i, tag);
    }
    out.append(html.substr(copied));
    return out;
}

}  // namespace Yomibon
