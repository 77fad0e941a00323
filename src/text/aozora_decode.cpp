// Reading a text file: byte-order marks, code-page detection, conversion to UTF-16.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/codepage.h"
#include "platform/file_text.h"
#include "platform/limits.h"
#include "platform/paths.h"
#include "text/aozora_parser.h"

namespace Yomibon {
namespace {

constexpr size_t kDetectBytes = 512;

// UTF-16LE without a mark shows itself by the zero high bytes of its ASCII characters
// (line ends at least): zeros at odd offsets and hardly any at even ones. One stray NUL
// in an 8-bit text is not enough (it would otherwise be read as garbage).
bool LooksLikeUtf16(const char* p, size_t n) {
    size_t odd = 0, even = 0;
    for (size_t i = 0; i < n; ++i)
        if (p[i] == '\0') ++((i & 1) ? odd : even);
    return odd >= 2 && even * 8 <= odd;
}

// Converts one line whose bytes the strict converter refused: every character that
// converts is kept, every byte that does not becomes U+FFFD.
void ConvertLenient(int codePage, const char* p, size_t n, std::u16string& out) {
    std::u16string piece;
    for (size_t i = 0; i < n;) {
        size_t len = 1;
        for (; len <= 4 && i + len <= n; ++len)
            if (ConvertToUtf16(codePage, p + i, len, piece) && !piece.empty()) break;
        if (len <= 4 && i + len <= n) {
            out += piece;
            i += len;
        } else {
            out.push_back(u'\uFFFD');
            ++i;
        }
    }
}

// Converts line by line so that one bad byte spoils only its own line.
std::u16string ConvertByLines(int codePage, const char* p, size_t n) {
    std::u16string out, line;
    out.reserve(n);
    for (size_t start = 0; start < n;) {
        const char* lf = static_cast<const char*>(memchr(p + start, '\n', n - start));
        size_t end = lf ? size_t(lf - p) + 1 : n;
        if (ConvertToUtf16(codePage, p + start, end - start, line))
            out += line;
        else
            ConvertLenient(codePage, p + start, end - start, out);
        start = end;
    }
    return out;
}

std::u16string Decode(const char* p, size_t n, bool marked) {
    if (marked) return FromUtf16Le(std::string_view(p, n));
    int codePage = DetectCodePage(p, std::min(n, kDetectBytes));
    if (codePage == CP_UNKNOWN || codePage == CP_WINDOWS_1252) codePage = CP_SHIFT_JIS;
    // The detector's guess of UTF-16 on a short sample is only believed with zero bytes.
    if ((codePage == CP_UTF16LE || codePage == CP_UTF16BE) && !std::memchr(p, 0, n))
        codePage = CP_SHIFT_JIS;
    if (codePage == CP_SHIFT_JIS && n > 1 && LooksLikeUtf16(p, n - 1)) codePage = CP_UTF16LE;
    if (codePage == CP_UTF16LE) return FromUtf16Le(std::string_view(p, n));
    std::u16string out;
    if (ConvertToUtf16(codePage, p, n, out)) return out;
    return ConvertByLines(codePage, p, n);
}

}  // namespace

std::u16string CYbAozoraTxtParser::DecodeText(const char* data, size_t size) {
    bool marked = size > 1 && uint8_t(data[0]) == 0xFF && uint8_t(data[1]) == 0xFE;
    if (marked) {
        data += 2;
        size -= 2;
    }
    std::u16string text = Decode(data, size, marked);
    if (!text.empty() && text[0] == u'\uFEFF') text.erase(0, 1);
    // NUL is never text; dropping it keeps the zero-terminated contract of parseText.
    std::erase(text, u'\0');
    return text;
}

bool CYbAozoraTxtParser::loadFile(const std::u16string& fileName, CYbTxtBuffer& buffer) {
    using Clock = std::chrono::steady_clock;
    auto since = [](Clock::time_point start) {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    phases_ = {};
    auto start = Clock::now();
    std::error_code ec;
    if (std::filesystem::is_directory(ToFsPath(fileName), ec)) return false;
    std::ifstream in(ToFsPath(fileName), std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    title_ = fileName;
    if (size <= 0 || !in) return true;
    size_t n = std::min(size_t(size), Limits::kMaxTextFileBytes);
    std::string bytes(n, '\0');
    if (!in.read(bytes.data(), std::streamsize(n))) return true;
    phases_.read = since(start);
    start = Clock::now();
    std::u16string text = DecodeText(bytes.data(), bytes.size());
    std::string().swap(bytes);
    phases_.decode = since(start);
    return parseText(std::u16string_view(text), buffer);
}

}  // namespace Yomibon
