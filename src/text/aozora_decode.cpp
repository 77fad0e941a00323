// Reading a text file: byte-order marks, code-page detection, conversion to UTF-16.
#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/codepage.h"
#include "platform/file_text.h"
#include "platform/limits.h"
#include "platform/paths.h"
#include "settings/file_io.h"
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

std::u16string Decode(const char* p, size_t n, bool marked) {
    if (marked) return FromUtf16Le(std::string_view(p, n));
    int codePage = DetectCodePage(p, std::min(n, kDetectBytes));
    if (codePage == CP_UNKNOWN || codePage == CP_WINDOWS_1252) codePage = CP_SHIFT_JIS;
    // The detector's guess of UTF-16 on a short sample is only believed with zero bytes.
    if ((codePage == CP_UTF16LE || codePage == CP_UTF16BE) && !std::memchr(p, 0, n))
        codePage = CP_SHIFT_JIS;
    if (codePage == CP_SHIFT_JIS && n > 1 && std::memchr(p, 0, n - 1) && LooksLikeUtf16(p, n - 1))
        codePage = CP_UTF16LE;
    if (codePage == CP_UTF16LE) return FromUtf16Le(std::string_view(p, n));
    std::u16string out;
    ConvertToUtf16Lenient(codePage, p, n, out);
    return out;
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
    // NUL is never text; dropping it keeps the zero-terminated contract of parseText. Every
    // code page read here needs a zero byte to give U+0000, so most texts skip the pass.
    if (std::memchr(data, 0, size)) std::erase(text, u'\0');
    return text;
}

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

bool CYbAozoraTxtParser::loadFile(const std::u16string& fileName, CYbTxtBuffer& buffer) {
    bool whole = false;
    return loadHead(fileName, buffer, Limits::kMaxTextFileBytes, whole);
}

bool CYbAozoraTxtParser::loadHead(const std::u16string& fileName, CYbTxtBuffer& buffer,
                                  size_t bytes, bool& whole) {
    phases_ = {};
    auto start = Clock::now();
    // Only a regular file is read, without blocking: a FIFO named as a text must not hang.
    std::string data;
    if (!ReadFileBytes(ToFsPath(fileName), data, bytes, &whole)) return false;
    // The file cap cuts a longer file as before; only a head asked for is cut at a line end.
    if (bytes == Limits::kMaxTextFileBytes) whole = true;
    title_ = fileName;
    if (data.empty()) return true;
    phases_.read = MsSince(start);
    start = Clock::now();
    std::u16string text = DecodeText(data.data(), data.size());
    std::string().swap(data);
    if (!whole) {
        // The last line may have been cut inside a character; it is read with the rest. The
        // head ends before its line end, so that its lines are the text's first lines.
        size_t end = text.find_last_of(u"\r\n");
        if (end == std::u16string::npos) return false;
        if (end > 0 && text[end] == u'\n' && text[end - 1] == u'\r') --end;
        text.resize(end);
    }
    phases_.decode = MsSince(start);
    return parseText(std::u16string_view(text), buffer);
}

}  // namespace Yomibon
