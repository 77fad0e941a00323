#include "layout/running_head.h"

#include <vector>

#include "platform/char_type.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

constexpr char16_t kEllipsis = u'…';

bool IsSpace(char32_t c) {
    return c == U' ' || c == U'　' || c == U'\t';
}

bool EndsPhrase(char32_t c) {
    switch (c) {
        case U'、':
        case U'，':
        case U',':
        case U'・':
        case U'）':
        case U'」':
        case U'』':
        case U'】':
        case U'〕':
        case U')':
        case U';':
        case U':':
            return true;
        default:
            return false;
    }
}

// How good a cut before character i is: 3 at a space, 2 after a phrase end, 1 where the
// class changes (kanji to kana, Japanese to Latin), 0 elsewhere.
int CutStrength(const std::vector<char32_t>& chars, size_t i) {
    if (i == 0 || i >= chars.size()) return 0;
    if (IsSpace(chars[i]) || IsSpace(chars[i - 1])) return 3;
    if (EndsPhrase(chars[i - 1])) return 2;
    return CharClass(chars[i]) != CharClass(chars[i - 1]) ? 1 : 0;
}

}  // namespace

std::u16string RunningHeadLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\r' && text[i] != u'\n') continue;
        std::u16string_view line = text.substr(start, i - start);
        while (!line.empty() && (line.front() == u' ' || line.front() == u'　'))
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == u' ' || line.back() == u'　'))
            line.remove_suffix(1);
        // A line that repeats an earlier one, whole or as its beginning, keeps only what
        // it adds.
        for (std::u16string_view earlier : lines) {
            if (!line.starts_with(earlier)) continue;
            std::u16string_view rest = line.substr(earlier.size());
            if (!rest.empty() && rest.front() != u' ' && rest.front() != u'　') continue;
            line = rest;
            while (!line.empty() && (line.front() == u' ' || line.front() == u'　'))
                line.remove_prefix(1);
        }
        if (!line.empty()) lines.push_back(line);
        start = i + 1;
    }
    std::u16string out;
    for (std::u16string_view line : lines) {
        if (!out.empty()) out += u'　';
        out += line;
    }
    return out;
}

std::u16string FitRunningHead(std::u16string_view text,
                              const std::function<int32_t(char32_t)>& width, int32_t room) {
    std::vector<char32_t> chars;
    std::vector<int64_t> ends;  // width of the first k + 1 characters
    int64_t total = 0;
    for (size_t i = 0; i < text.size(); i += UnitsAt(text, i)) {
        chars.push_back(CodePointAt(text, i));
        total += width(chars.back());
        ends.push_back(total);
    }
    if (total <= room) return std::u16string(text);
    const int64_t left = int64_t(room) - width(kEllipsis);
    // The strongest boundary among the cuts that fit, the latest of equal strength; a
    // boundary that would keep less than half the room counts for nothing.
    size_t best = 0;
    int bestStrength = -1;
    for (size_t k = 1; k < chars.size() && ends[k - 1] <= left; ++k) {
        int strength = ends[k - 1] * 2 >= left ? CutStrength(chars, k) : 0;
        if (strength >= bestStrength) {
            best = k;
            bestStrength = strength;
        }
    }
    while (best > 0 && IsSpace(chars[best - 1]))
        --best;
    std::u16string out;
    for (size_t k = 0; k < best; ++k)
        AppendCodePoint(out, chars[k]);
    if (left >= 0) out += kEllipsis;
    return out;
}

}  // namespace Yomibon
