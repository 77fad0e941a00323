#include "text/gaiji_table.h"

#include "platform/paths.h"
#include "platform/utf16.h"
#include "settings/data_folder.h"
#include "text/annotation_text.h"
#include "text/table_file.h"

namespace Yomibon {
namespace {

// The data folder's table first, then the program folder's when the first is missing or has
// no entries.
GaijiMap LoadMap(std::u16string_view name) {
    GaijiMap map(ReadTableText(TableFilePath(DataFolder(), name)));
    if (map.size() == 0) map = GaijiMap(ReadTableText(TableFilePath(ProgramFolder(), name)));
    return map;
}

bool IsAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsHexDigit(char16_t c) {
    return IsAsciiDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// Reads 1-2 decimal digits at i; the value, or -1.
int SmallNumber(std::u16string_view s, size_t& i) {
    int value = 0;
    size_t n = 0;
    while (i < s.size() && IsAsciiDigit(s[i]) && n < 3)
        value = value * 10 + (s[i++] - u'0'), ++n;
    return (n == 0 || n > 2) ? -1 : value;
}

// "P-R-C" at i (plane 1 or 2, row and cell 1..94), not part of a longer number.
bool PlaneRowCellAt(std::u16string_view s, size_t i, std::u16string& key) {
    if (i > 0 && (IsAsciiDigit(s[i - 1]) || s[i - 1] == u'-')) return false;
    size_t j = i;
    int plane = SmallNumber(s, j);
    if (plane != 1 && plane != 2) return false;
    if (j >= s.size() || s[j] != u'-') return false;
    int row = SmallNumber(s, ++j);
    if (row < 1 || row > 94 || j >= s.size() || s[j] != u'-') return false;
    int cell = SmallNumber(s, ++j);
    if (cell < 1 || cell > 94) return false;
    if (j < s.size() && (IsAsciiDigit(s[j]) || s[j] == u'-')) return false;
    key = std::u16string(s.substr(i, j - i));
    return true;
}

// "U+XXXX" (4 to 6 hex digits) at i naming a scalar value.
bool UnicodeAt(std::u16string_view s, size_t i, std::u16string& out) {
    if (i + 2 > s.size() || (s[i] != u'U' && s[i] != u'u') || s[i + 1] != u'+') return false;
    size_t j = i + 2;
    char32_t value = 0;
    while (j < s.size() && IsHexDigit(s[j]) && j - i - 2 < 7) {
        char16_t c = s[j++];
        value = value * 16 + (IsAsciiDigit(c) ? c - u'0' : (c | 0x20) - u'a' + 10);
    }
    size_t digits = j - i - 2;
    if (digits < 4 || digits > 6) return false;
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF) || value == 0) return false;
    out.clear();
    AppendCodePoint(out, value);
    return true;
}

bool RomanNumeral(std::u16string_view description, std::u16string& out) {
    constexpr std::u16string_view kRoman = u"ローマ数字";
    if (description.substr(0, kRoman.size()) != kRoman) return false;
    std::u16string_view rest = description.substr(kRoman.size());
    if (rest.empty() || !IsAsciiDigit(ToAsciiDigit(rest[0]))) return false;
    int n = AnnotationNumber(rest);
    if (n < 0 || n > 10) return false;
    out.clear();
    if (n > 0) out.push_back(char16_t(0x2160 + n - 1));
    return true;
}

}  // namespace

const GaijiMap& GaijiTable() {
    static const GaijiMap table = LoadMap(u"gaiji");
    return table;
}

const GaijiMap& JisX0213Table() {
    static const GaijiMap table = LoadMap(u"jisx0213");
    return table;
}

bool ResolveGaijiCode(std::u16string_view s, const GaijiMap& jis, std::u16string& out) {
    // Codes inside 「…」 belong to a component of the description, not to the character.
    int depth = 0;
    std::u16string key;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'「')
            ++depth;
        else if (s[i] == u'」' && depth > 0)
            --depth;
        if (depth > 0) continue;
        if (UnicodeAt(s, i, out)) return true;
        if (PlaneRowCellAt(s, i, key)) {
            if (std::u16string_view value = jis.value(key); !value.empty()) {
                out = value;
                return true;
            }
        }
    }
    return false;
}

bool LookupExternalChar(std::u16string_view x, std::u16string& out) {
    if (RomanNumeral(ExternalCharDescription(x), out)) return true;
    size_t comma = x.rfind(u'、');
    if (comma != std::u16string_view::npos) {
        if (std::u16string_view value = GaijiTable().value(x.substr(0, comma)); !value.empty()) {
            out = value;
            return true;
        }
    }
    return ResolveGaijiCode(x, JisX0213Table(), out);
}

}  // namespace Yomibon
