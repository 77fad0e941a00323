#include "platform/file_text.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/codepage.h"
#include "platform/utf16.h"

namespace Yomibon {

std::u16string FromUtf16Le(std::string_view bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out.data(), bytes.data(), out.size() * 2);
        return out;
    }
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = char16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8));
    return out;
}

void AppendUtf16Le(std::string& out, std::u16string_view text) {
    out.reserve(out.size() + text.size() * 2);
    for (char16_t c : text) {
        out.push_back(char(c & 0xFF));
        out.push_back(char(c >> 8));
    }
}

namespace {

// UTF-16LE read as it stands, and whether it can be written back as it was: whole units,
// no zero character (it would make a UTF-8 file read as UTF-16) and no unpaired surrogate.
FileText FromUtf16LeFile(std::string_view bytes) {
    FileText out{FromUtf16Le(bytes), bytes.size() % 2 == 0};
    const std::u16string& t = out.text;
    // Lossless: no zero unit, and every surrogate in a high-low pair.
    for (size_t i = 0; i < t.size() && out.lossless; ++i) {
        const char16_t c = t[i];
        if (c != 0 && (c < 0xD800 || c > 0xDFFF)) continue;
        if (IsHighSurrogate(c) && i + 1 < t.size() && IsLowSurrogate(t[i + 1]))
            ++i;
        else
            out.lossless = false;
    }
    return out;
}

}  // namespace

FileText DecodeFileText(std::string_view bytes) {
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE)
        return FromUtf16LeFile(bytes.substr(2));
    if (!bytes.empty() && bytes.substr(0, bytes.size() - 1).find('\0') != std::string_view::npos)
        return FromUtf16LeFile(bytes);
    FileText out;
    if (IsValidUtf8(bytes.data(), bytes.size())) {
        out.text = FromUtf8(bytes);
        if (!out.text.empty() && out.text[0] == u'\uFEFF') out.text.erase(0, 1);
        return out;
    }
    if (ConvertToUtf16(CP_SHIFT_JIS, bytes.data(), bytes.size(), out.text)) return out;
    return {FromUtf8(bytes), false};
}

}  // namespace Yomibon
