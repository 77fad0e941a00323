#include "settings/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace Yomibon {
namespace {

// Full-width forms (U+FF01..U+FF5E) folded to ASCII so that "１２" reads as 12.
char16_t FoldWidth(char16_t c) {
    return (c >= 0xFF01 && c <= 0xFF5E) ? char16_t(c - 0xFEE0) : c;
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0x3000 || (c >= 0x0A && c <= 0x0D);
}

size_t SkipBlanks(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return i;
}

}  // namespace

bool ReadDecimal(std::u16string_view text, int32_t& out) {
    out = 0;
    size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (FoldWidth(text[i]) == u'-' || FoldWidth(text[i]) == u'+')) {
        negative = FoldWidth(text[i]) == u'-';
        ++i;
    }
    int64_t value = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        char16_t c = FoldWidth(text[i]);
        if (c < u'0' || c > u'9') break;
        any = true;
        if (value <= int64_t(std::numeric_limits<int32_t>::max()) + 1)
            value = value * 10 + (c - u'0');
    }
    if (!any) return false;
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) value = std::numeric_limits<int32_t>::min();
    out = int32_t(value);
    return true;
}

int32_t DecimalOrZero(std::u16string_view text) {
    int32_t value = 0;
    ReadDecimal(text, value);
    return value;
}

uint32_t HexOrZero(std::u16string_view text) {
    uint32_t value = 0;
    for (size_t i = SkipBlanks(text); i < text.size(); ++i) {
        char16_t c = FoldWidth(text[i]);
        int digit = c >= u'0' && c <= u'9'   ? c - u'0'
                    : c >= u'a' && c <= u'f' ? c - u'a' + 10
                    : c >= u'A' && c <= u'F' ? c - u'A' + 10
                                             : -1;
        if (digit < 0) break;
        value = (value << 4) | uint32_t(digit);
    }
    return value;
}

double DoubleOrZero(std::u16string_view text) {
    size_t i = SkipBlanks(text);
    std::string ascii;
    for (; i < text.size() && ascii.size() < 64; ++i) {
        char16_t c = FoldWidth(text[i]);
        if (c > 0x7E) break;
        ascii.push_back(char(c));
    }
    const char* begin = ascii.data();
    if (!ascii.empty() && ascii[0] == '+') ++begin;
    double value = 0.0;
    auto [end, ec] = std::from_chars(begin, ascii.data() + ascii.size(), value);
    (void)end;
    if (ec != std::errc() || !std::isfinite(value)) return 0.0;
    return value;
}

std::u16string FormatDouble(double value) {
    char buffer[64];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    if (ec != std::errc()) return u"0";
    return std::u16string(buffer, end);
}

std::u16string FormatDecimal(int64_t value) {
    std::string s = std::to_string(value);
    return std::u16string(s.begin(), s.end());
}

}  // namespace Yomibon
