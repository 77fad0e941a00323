#include "archive/archive_entry_path.h"

#include <iconv.h>

#include <cerrno>

#include <vector>

namespace Yomibon {

namespace {

// Length of the UTF-8 sequence at `at`, or 0 when it is malformed.
size_t Utf8SequenceAt(std::string_view s, size_t at) {
    const unsigned char c = static_cast<unsigned char>(s[at]);
    if (c < 0x80) return 1;
    size_t length;
    char32_t code;
    if ((c & 0xE0) == 0xC0) {
        length = 2;
        code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3;
        code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        length = 4;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (at + length > s.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const unsigned char t = static_cast<unsigned char>(s[at + k]);
        if ((t & 0xC0) != 0x80) return 0;
        code = (code << 6) | (t & 0x3F);
    }
    static constexpr char32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// Converts Shift_JIS to UTF-8; an undecodable byte becomes "_" and decoding goes on.
std::string FromShiftJis(std::string_view raw) {
    std::string out;
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (char c : raw)
            out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '_');
        return out;
    }
    std::vector<char> in(raw.begin(), raw.end());
    char* src = in.data();
    size_t srcLeft = in.size();
    char buffer[256];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof(buffer);
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            out.push_back('_');
            ++src;
            --srcLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

bool IsUtf8Name(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = Utf8SequenceAt(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string DecodeEntryName(std::string_view raw) {
    if (IsUtf8Name(raw)) return std::string(raw);
    return FromShiftJis(raw);
}

bool SafeEntryPath(std::string_view name, std::string& relative) {
    relative.clear();
    if (name.empty() || name[0] == '/' || name[0] == '\\') return false;
    // "C:" at the front names a drive on the systems these archives come from.
    if (name.size() >= 2 && name[1] == ':') return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part == "..") {
            relative.clear();
            return false;
        }
        if (!part.empty() && part != ".") {
            if (!relative.empty()) relative.push_back('/');
            relative.append(part);
        }
        start = end + 1;
    }
    return true;
}

bool SafeLinkTarget(std::string_view target) {
    if (target.empty() || target[0] == '/') return false;
    size_t start = 0;
    while (start <= target.size()) {
        size_t end = target.find('/', start);
        if (end == std::string_view::npos) end = target.size();
        if (target.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
    return true;
}

}  // namespace Yomibon
