#include "platform/utf16.h"

#include <unicode/ustring.h>

namespace Yomibon {

size_t CharCount(std::u16string_view s) {
    size_t n = 0;
    for (size_t i = 0; i < s.size(); i += UnitsAt(s, i))
        ++n;
    return n;
}

size_t CharOffset(std::u16string_view s, size_t n) {
    size_t i = 0;
    for (; i < s.size() && n > 0; --n)
        i += UnitsAt(s, i);
    return i;
}

void AppendCodePoint(std::u16string& out, char32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(char16_t(0xD800 + (c >> 10)));
        out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(char16_t(c));
    }
}

std::string ToUtf8(std::u16string_view s) {
    std::string out(s.size() * 3, '\0');
    int32_t len = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), int32_t(out.size()), &len, s.data(), int32_t(s.size()), 0xFFFD,
                       nullptr, &err);
    out.resize(U_SUCCESS(err) ? size_t(len) : 0);
    return out;
}

std::u16string FromUtf8(std::string_view s) {
    std::u16string out(s.size(), u'\0');
    int32_t len = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), int32_t(out.size()), &len, s.data(), int32_t(s.size()), 0xFFFD,
                         nullptr, &err);
    out.resize(U_SUCCESS(err) ? size_t(len) : 0);
    return out;
}

}  // namespace Yomibon
