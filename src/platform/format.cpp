#include "platform/format.h"

namespace Yomibon {
namespace {

void AppendArg(std::u16string& out, const std::vector<FormatArg>& args, size_t index, char kind) {
    if (index >= args.size()) return;
    const FormatArg& arg = args[index];
    if (kind == 's') {
        if (auto s = std::get_if<std::u16string>(&arg)) out += *s;
    } else if (auto n = std::get_if<int64_t>(&arg)) {
        for (char c : std::to_string(*n))
            out.push_back(char16_t(c));
    }
}

bool IsKind(char16_t c) {
    return c == u's' || c == u'd';
}

}  // namespace

std::u16string FormatMessage(std::u16string_view pattern, const std::vector<FormatArg>& args) {
    std::u16string out;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char16_t c = pattern[i];
        if (c != u'%' || i + 1 >= pattern.size()) {
            out.push_back(c);
            continue;
        }
        char16_t d = pattern[i + 1];
        if (d == u'%') {
            out.push_back(u'%');
            ++i;
        } else if (IsKind(d)) {
            AppendArg(out, args, next++, char(d));
            ++i;
        } else if (d >= u'1' && d <= u'9' && i + 4 < pattern.size() && pattern[i + 2] == u'!' &&
                   IsKind(pattern[i + 3]) && pattern[i + 4] == u'!') {
            AppendArg(out, args, size_t(d - u'1'), char(pattern[i + 3]));
            i += 4;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace Yomibon
