#include "text/nested_annotation.h"

#include "platform/limits.h"
#include "text/gaiji_table.h"

namespace Yomibon {

size_t FindAnnotationClose(std::u16string_view text, size_t from) {
    size_t first = text.find(u'］', from);
    if (first == std::u16string_view::npos) return first;
    size_t depth = 0;
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] == u'［') {
            if (++depth > Limits::kMaxAnnotationDepth) return first;
        } else if (text[i] == u'］') {
            if (depth == 0) return i;
            --depth;
        }
    }
    return first;
}

namespace {

void AppendApplied(std::u16string_view text, std::u16string& out) {
    for (size_t i = 0; i < text.size();) {
        bool external = text.substr(i).starts_with(u"※［＃");
        if (external || text.substr(i).starts_with(u"［＃")) {
            size_t body = i + (external ? 3 : 2);
            size_t close = FindAnnotationClose(text, body);
            if (close != std::u16string_view::npos) {
                std::u16string_view inner = text.substr(body, close - body);
                if (external) {
                    std::u16string found;
                    if (inner.find(u'、') != inner.npos && LookupExternalChar(inner, found))
                        out += found;
                    else
                        out += u'※';
                }
                i = close + 1;
                continue;
            }
        }
        if (text[i] == u'《') {
            size_t close = text.find(u'》', i + 1);
            if (close != std::u16string_view::npos) {
                i = close + 1;
                continue;
            }
        }
        if (text[i] == u'｜' && text.find(u'《', i + 1) != std::u16string_view::npos) {
            ++i;
            continue;
        }
        out += text[i++];
    }
}

}  // namespace

std::u16string ApplyNestedAnnotations(std::u16string_view text) {
    if (text.find(u"［＃") == std::u16string_view::npos &&
        text.find(u'《') == std::u16string_view::npos)
        return std::u16string(text);
    std::u16string out;
    out.reserve(text.size());
    AppendApplied(text, out);
    return out;
}

}  // namespace Yomibon
